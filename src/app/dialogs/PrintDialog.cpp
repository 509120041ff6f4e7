#include "app/dialogs/PrintDialog.h"

#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPdfWriter>
#include <QPrinter>
#include <QProgressDialog>
#include <cstdlib>

#include "app/AppInfo.h"
#include "app/dialogs/DialogIds.h"
#include "app/dialogs/MessagePopup.h"
#include "compose/BookComposer.h"
#include "compose/DiagramComposer.h"
#include "compose/PictureExport.h"
#include "compose/VectorExport.h"
#include "platform/Messages.h"
#include "platform/Prompter.h"
#include "platform/SafeFile.h"
#include "skin/SkinButton.h"

namespace velmora {
namespace {

constexpr const char* kNoPrinterMessage =
    "인쇄하지 못했습니다: 프린터를 찾을 수 없거나 쓸 수 없습니다.\n프린터가 설치되어 있고 켜져 있는지 확인해 주세요.";
// A page that could not be started: the printer stopped taking the document.
constexpr const char* kPageFailedMessage = "인쇄하지 못했습니다: 프린터가 다음 쪽을 받지 않았습니다.";

// The integer an edit's text starts with; 0 when it starts with none.
int LeadingInt(const std::string& text) {
    return std::atoi(text.c_str());
}

// text for the pop-up's mark-up: a path may hold '&' or '<'.
std::string Plain(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '\n')
            out += "<br>";
        else
            out += c;
    }
    return out;
}

std::string FolderOf(const std::string& path) {
    return QDir::toNativeSeparators(QFileInfo(QString::fromStdString(path)).absolutePath())
        .toStdString();
}

}  // namespace

std::string ExportNotice(const ExportResult& result, const std::string& firstPath) {
    const std::string count = std::to_string(result.written.size());
    if (result.ok())
        return "<br>그림 파일 " + count + "개를 아래 폴더에 저장했습니다.<br>" +
               Plain(FolderOf(firstPath));
    // A failed write says why and ends with the file's path on a line of its own; the other
    // failures are the drawing surface's.
    const std::size_t feed = result.error.rfind('\n');
    std::string text = feed == std::string::npos ? "<br>그림을 만들지 못했습니다.<br>(" + Plain(result.error) + ")"
                                                 : "<br>" + Plain(result.error);
    if (!result.written.empty())
        text += "<br>먼저 저장한 그림 파일 " + count + "개는 아래 폴더에 있습니다.<br>" +
                Plain(FolderOf(result.written.front()));
    return text;
}

PrintDialog::PrintDialog(QWidget* parent) : SkinDialog(parent, "Skin\\Dialog\\복사.xml") {
    setWindowTitle(QStringLiteral("기보도 인쇄"));
}

void PrintDialog::SetSource(const PageTexts& texts, int totalMoves, DiagramPainter diagram,
                            std::shared_ptr<const DiagramSource> source,
                            const std::string& path) {
    texts_ = texts;
    totalMoves_ = totalMoves;
    diagram_ = std::move(diagram);
    source_ = std::move(source);
    sourceName_ = QFileInfo(QString::fromStdString(path)).fileName().toStdString();
}

void PrintDialog::OnSkinBuilt() {
    EnableControl(kPrintPerPage, Kind() == kComposeSplit);
    if (auto* style = FindControlAs<QComboBox>(kPrintCoordinateStyle);
        style && style->currentIndex() < 0)
        style->setCurrentIndex(0);
    const auto* coordinates = FindControlAs<SkinButton>(kPrintCoordinates);
    EnableControl(kPrintCoordinateStyle, coordinates && coordinates->IsChecked());
    // A split needs a number of diagrams per page; an empty list would only be refused.
    if (auto* perPage = FindControlAs<QComboBox>(kPrintPerPage);
        perPage && perPage->currentIndex() < 0)
        perPage->setCurrentIndex(0);
}

int PrintDialog::Kind() const {
    int kind = kComposeWhole;
    for (int id : {kComposeWhole, kComposeCurrent, kComposeRange, kComposeSplit})
        if (auto* b = FindControlAs<SkinButton>(id); b && b->IsChecked()) kind = id;
    return kind;
}

PrintSettings PrintDialog::ReadSettings() const {
    PrintSettings s;
    s.kind = Kind();
    if (s.kind == kComposeRange) {
        s.first = LeadingInt(GetControlText(kPrintRangeFirst));
        s.second = LeadingInt(GetControlText(kPrintRangeSecond));
        s.third = LeadingInt(GetControlText(kPrintRangeThird));
    } else if (s.kind == kComposeSplit) {
        s.movesPerDiagram = LeadingInt(GetControlText(kPrintMovesPerDiagram));
        s.perPage = LeadingInt(GetControlText(kPrintPerPage));
    }
    const auto checked = [this](int id) {
        auto* b = FindControlAs<SkinButton>(id);
        return b && b->IsChecked();
    };
    if (checked(kPrintCoordinates)) {
        const auto* style = FindControlAs<QComboBox>(kPrintCoordinateStyle);
        s.coordinates = style && style->currentIndex() == 1 ? DiagramCoordinates::kClassic
                                                             : DiagramCoordinates::kUsual;
    }
    s.commentary = checked(kPrintCommentary);
    s.restartNumbers = checked(kPrintRestartNumbers);
    return s;
}

bool PrintDialog::AcceptSettings(PrintSettings& settings) const {
    settings = ReadSettings();
    const std::string why = SettingsError(settings);
    if (why.empty()) return true;
    Prompter::Current().Popup(why, kButtonsOk);
    return false;
}

PageRequest PrintDialog::Request(const PrintSettings& settings) const {
    PageRequest request;
    request.settings = settings;
    request.texts = texts_;
    request.diagram = diagram_;
    request.totalMoves = totalMoves_;
    request.source = source_;
    return request;
}

std::vector<BookRecord> PrintDialog::Book(const PrintSettings& settings) const {
    std::vector<BookRecord> book;
    BookRecord first;
    first.name = sourceName_.empty() ? "현재 기보" : sourceName_;
    first.request = Request(settings);
    book.push_back(std::move(first));
    book.insert(book.end(), added_.begin(), added_.end());
    for (BookRecord& record : book) {
        record.request.settings = settings;
        record.pages = PageCount(settings, record.request.totalMoves);
    }
    return book;
}

PrintOutcome PrintDialog::PrintDocument(QPagedPaintDevice& device, const PrintSettings& settings,
                                        bool& cancelled) {
    cancelled = false;
    if (added_.empty()) return PrintPages(device, Request(settings), PageCount(settings, totalMoves_));
    const std::vector<BookRecord> book = Book(settings);
    const int count = static_cast<int>(book.size());
    QProgressDialog progress(QStringLiteral("기보를 인쇄하는 중입니다…"), QStringLiteral("취소"), 0,
                             count, this);
    progress.setWindowTitle(QStringLiteral("기보도 인쇄"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    // Each record's pages are drawn between two looks at the window, which stays responsive.
    const PrintOutcome outcome = PrintBook(device, book, [&](int index) {
        progress.setLabelText(QStringLiteral("%1/%2  %3")
                                  .arg(index + 1)
                                  .arg(count)
                                  .arg(QString::fromStdString(book[index].name)));
        progress.setValue(index);
        QCoreApplication::processEvents();
        cancelled = progress.wasCanceled();
        return !cancelled;
    });
    progress.setValue(count);
    return outcome;
}

void PrintDialog::AddFiles() {
    const std::vector<std::string> paths = Prompter::Current().OpenFileNames(
        "함께 인쇄할 기보", {}, "기보 파일 (*.sgf *.sgfx *.SGF);;모든 파일 (*)");
    std::string failed;
    for (const std::string& path : paths) {
        BookRecord record;
        std::string why;
        if (ReadBookRecord(path, record, why))
            added_.push_back(std::move(record));
        else
            failed += "<br>" + Plain(QFileInfo(QString::fromStdString(path)).fileName().toStdString());
    }
    if (!failed.empty())
        Prompter::Current().Popup("<br>아래 파일은 읽지 못해 넣지 않았습니다." + failed, kButtonsOk);
    if (added_.empty()) return;
    std::string names;
    for (const BookRecord& record : added_) names += (names.empty() ? "" : ", ") + record.name;
    SetShapeText(kPrintBookFiles, "+ " + std::to_string(added_.size()) + "개: " + names);
}

void PrintDialog::ExportBook(const PrintSettings& settings) {
    std::string path = Prompter::Current().SaveFileName("한 권으로 저장", {}, "PDF (*.pdf)");
    if (path.empty()) return;
    if (!EndsWithNoCase(path, ".pdf")) path += ".pdf";
    bool cancelled = false;
    PrintOutcome outcome = PrintOutcome::kNoDevice;
    {
        QPdfWriter writer(QString::fromStdString(path));
        writer.setPageLayout(PrintPageLayout(QPageSize(QPageSize::A4), false));
        writer.setResolution(600);
        writer.setTitle(QString::fromUtf8(kAppTitle));
        outcome = PrintDocument(writer, settings, cancelled);
    }
    if (outcome == PrintOutcome::kPrinted) {
        ShowMessagePopup("<br>차례와 기보 " + std::to_string(added_.size() + 1) +
                             "개를 한 PDF 파일로 저장했습니다.<br>" + Plain(path),
                         kButtonsOk);
        return;
    }
    // Nothing half-written is left behind.
    QFile::remove(QString::fromStdString(path));
    if (!cancelled)
        ShowMessagePopup("<br>PDF 파일을 저장하지 못했습니다: " + WriteFailureReason(path) + ".<br>" + Plain(path),
                         kButtonsOk);
}

// A4 to begin with, the document named after the program.
static void SetUpPrinter(QPrinter& printer) {
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(QString::fromUtf8(kAppTitle));
}

void PrintDialog::Print() {
    PrintSettings settings;
    if (!AcceptSettings(settings)) return;
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer);
    if (!Prompter::Current().PrintDialog(printer)) return;
    if (!printer.isValid()) {
        Prompter::Current().MessageBox(kNoPrinterMessage, {}, kButtonsOk);
        return;
    }
    bool cancelled = false;
    switch (PrintDocument(printer, settings, cancelled)) {
        case PrintOutcome::kPrinted:
            break;
        case PrintOutcome::kNoDevice:
            Prompter::Current().MessageBox(kNoPrinterMessage, {}, kButtonsOk);
            break;
        case PrintOutcome::kPageFailed:
            if (cancelled) break;  // the job is cancelled as asked
            Prompter::Current().MessageBox(kPageFailedMessage + std::string("\n인쇄 작업을 취소했습니다."), {},
                                           kButtonsOk);
            break;
    }
}

void PrintDialog::Preview() {
    PrintSettings settings;
    if (!AcceptSettings(settings)) return;
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer);
    // The preview lays the pages out again whenever its page size or orientation changes.
    Prompter::Current().PrintPreview(printer, [&](QPrinter& target) {
        bool cancelled = false;
        if (PrintDocument(target, settings, cancelled) != PrintOutcome::kPrinted && !cancelled)
            Prompter::Current().MessageBox(kPageFailedMessage, {}, kButtonsOk);
    });
}

void PrintDialog::ExportPictures() {
    PrintSettings settings;
    if (!AcceptSettings(settings)) return;
    if (!added_.empty()) {
        // A book is one document: it is saved as one PDF file.
        ExportBook(settings);
        done(kResultCancel);
        return;
    }
    std::string chosen =
        Prompter::Current().SaveFileName("그림으로 저장", {},
                                         "BMP 그림 (*.BMP);;SVG 그림 (*.svg);;PDF 문서 (*.pdf);;모든 파일 (*)");
    if (chosen.empty()) {
        done(kResultCancel);
        return;
    }
    // The default extension, as the file dialog would add it.
    const std::size_t slash = chosen.find_last_of('/');
    if (chosen.find('.', slash == std::string::npos ? 0 : slash + 1) == std::string::npos)
        chosen += ".BMP";
    const QDate today = QDate::currentDate();
    const std::string first = ExportFirstPath(chosen, today.year(), today.month(), today.day());
    // .svg and .pdf get the same pages in vectors, a file each.
    const int pages = PageCount(settings, totalMoves_);
    const ExportResult result = VectorFormatOf(first) != VectorFormat::kNone
                                    ? ExportVectorPages(Request(settings), pages, first)
                                    : ExportPages(Request(settings), pages, first);
    ShowMessagePopup(ExportNotice(result, first), kButtonsOk);
    done(kResultCancel);
}

bool PrintDialog::event(QEvent* e) {
    // Printing keeps the window open, unlike the OK button of other dialogs.
    if (e->type() == CommandEvent::Type()) {
        auto* c = static_cast<CommandEvent*>(e);
        if (c->code() == kCmdClicked && c->id() == kPrintButton) {
            Print();
            return true;
        }
        if (c->code() == kCmdClicked && c->id() == kPrintPreviewButton) {
            Preview();
            return true;
        }
    }
    return SkinDialog::event(e);
}

void PrintDialog::onCommand(int id) {
    switch (id) {
        case kComposeWhole:
        case kComposeCurrent:
        case kComposeRange:
        case kComposeSplit:
            EnableControl(kPrintPerPage, id == kComposeSplit);
            break;
        case kPrintExportButton:
            ExportPictures();
            break;
        case kPrintCoordinates:
            if (const auto* b = FindControlAs<SkinButton>(kPrintCoordinates))
                EnableControl(kPrintCoordinateStyle, b->IsChecked());
            break;
        case kPrintAddFilesButton:
            AddFiles();
            break;
        default:
            break;
    }
}

}  // namespace velmora
