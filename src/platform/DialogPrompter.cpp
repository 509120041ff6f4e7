#include "platform/DialogPrompter.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace velmora {
namespace {

// A program that links the dialogs asks with them until it installs a prompter of its own.
DialogPrompter g_dialogPrompter;
[[maybe_unused]] const bool g_dialogFallback = (Prompter::SetFallback(&g_dialogPrompter), true);

}  // namespace

int DialogPrompter::MessageBox(const std::string& text, const std::string& caption, int buttons) {
    const std::string& title = caption.empty() ? defaultCaption_ : caption;
    QMessageBox box(QMessageBox::NoIcon,
                    title.empty() ? QApplication::applicationDisplayName() : QString::fromStdString(title),
                    QString::fromStdString(text), QMessageBox::NoButton, Owner());
    if (buttons == kButtonsYesNo)
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    else if (buttons == kButtonsYesNoCancel)
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    else if (buttons == kButtonsOkCancel)
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    else
        box.setStandardButtons(QMessageBox::Ok);
    switch (box.exec()) {
        case QMessageBox::Yes: return kAnswerYes;
        case QMessageBox::No: return kAnswerNo;
        case QMessageBox::Cancel: return kAnswerCancel;
        case QMessageBox::Ok: return kAnswerOk;
        // Closed some other way: No, Cancel, or OK when that is the only button.
        default:
            if (buttons == kButtonsYesNo) return kAnswerNo;
            return buttons == kButtonsOkCancel || buttons == kButtonsYesNoCancel ? kAnswerCancel : kAnswerOk;
    }
}

int DialogPrompter::Popup(const std::string& markup, int buttons) { return MessageBox(markup, {}, buttons); }

std::string DialogPrompter::OpenFileName(const std::string& caption, const std::string& folder,
                                         const std::string& filter) {
    return QFileDialog::getOpenFileName(Owner(), QString::fromStdString(caption), QString::fromStdString(folder),
                                        QString::fromStdString(filter))
        .toStdString();
}

std::string DialogPrompter::FolderName(const std::string& caption, const std::string& folder) {
    return QFileDialog::getExistingDirectory(Owner(), QString::fromStdString(caption), QString::fromStdString(folder))
        .toStdString();
}

std::vector<std::string> DialogPrompter::OpenFileNames(const std::string& caption,
                                                       const std::string& folder,
                                                       const std::string& filter) {
    std::vector<std::string> paths;
    for (const QString& path :
         QFileDialog::getOpenFileNames(Owner(), QString::fromStdString(caption),
                                       QString::fromStdString(folder), QString::fromStdString(filter)))
        paths.push_back(path.toStdString());
    return paths;
}

std::string DialogPrompter::SaveFileName(const std::string& caption, const std::string& suggested,
                                         const std::string& filter) {
    return QFileDialog::getSaveFileName(Owner(), QString::fromStdString(caption), QString::fromStdString(suggested),
                                        QString::fromStdString(filter))
        .toStdString();
}

int DialogPrompter::ChooseItem(const std::string& caption, const std::vector<std::string>& columns,
                               const std::vector<std::vector<std::string>>& rows) {
    if (rows.empty()) return -1;
    QDialog dialog(Owner());
    dialog.setWindowTitle(QString::fromStdString(caption.empty() ? defaultCaption_ : caption));
    auto* list = new QTreeWidget(&dialog);
    list->setRootIsDecorated(false);
    list->setColumnCount(static_cast<int>(columns.size()));
    QStringList headers;
    for (const std::string& c : columns) headers << QString::fromStdString(c);
    list->setHeaderLabels(headers);
    for (const std::vector<std::string>& row : rows) {
        QStringList texts;
        for (const std::string& t : row) texts << QString::fromStdString(t);
        list->addTopLevelItem(new QTreeWidgetItem(texts));
    }
    list->setCurrentItem(list->topLevelItem(0));
    list->header()->resizeSections(QHeaderView::ResizeToContents);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QTreeWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(list);
    layout->addWidget(buttons);
    dialog.resize(640, 360);
    if (dialog.exec() != QDialog::Accepted || !list->currentItem()) return -1;
    return list->indexOfTopLevelItem(list->currentItem());
}

bool DialogPrompter::PrintDialog(QPrinter& printer) {
    QPrintDialog dialog(&printer, Owner());
    // The whole document is printed: no page numbers, no selection.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    return dialog.exec() == QDialog::Accepted;
}

void DialogPrompter::PrintPreview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
    QPrintPreviewDialog dialog(&printer, Owner());
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                     [&paint](QPrinter* target) { paint(*target); });
    dialog.exec();
}

}  // namespace velmora
