#include "skin/SkinControls.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTextEdit>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QUrl>
#include <tinyxml2.h>

#include <map>

#include "platform/Messages.h"
#include "platform/RankText.h"
#include "skin/SkinButton.h"
#include "skin/SkinResources.h"
#include "skin/SkinStatic.h"
#include "skin/SkinXml.h"

namespace velmora {
namespace {

using tinyxml2::XMLElement;

constexpr const char* kIdProperty = "velmoraControlId";

std::map<std::string, ControlBuilder>& Registered() {
    static std::map<std::string, ControlBuilder> builders;
    return builders;
}

bool Has(const std::string& text, const char* word) { return text.find(word) != std::string::npos; }

void UseRegisteredFont(QWidget* w, const char* name) {
    if (const QFont* f = SkinResources::Instance().FindFont(name)) w->setFont(*f);
}

// A control's own colour role set from an attribute, only when the attribute is given.
void SetColorRole(QWidget* w, const XMLElement* el, const char* attr, QPalette::ColorRole role) {
    if (!*AttrText(el, attr)) return;
    QPalette pal = w->palette();
    pal.setColor(role, ToQColor(AttrColor(el, attr)));
    w->setPalette(pal);
}

template <class W>
W* Place(W* w, const ControlContext& ctx, int id) {
    w->setGeometry(ctx.rect);
    SetControlId(w, id);
    return w;
}

QWidget* BuildEdit(const ControlContext& ctx) {
    const std::string style = AttrText(ctx.element, "style");
    const int limit = AttrInt(ctx.element, "limit");
    QWidget* edit;
    QObject* parent = ctx.parent;
    const int id = ctx.id;
    if (Has(style, "multiline")) {
        auto* e = new QPlainTextEdit(ctx.parent);
        e->setVerticalScrollBarPolicy(ctx.dialog ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
        e->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        QObject::connect(e, &QPlainTextEdit::textChanged, e, [e, parent, id, limit] {
            // The limit counts characters, as the single-line box does.
            if (limit > 0 && e->toPlainText().size() > limit) {
                QString t = e->toPlainText().left(limit);
                e->setPlainText(t);
                e->moveCursor(QTextCursor::End);
                return;
            }
            SendCommand(parent, id, kCmdChanged);
        });
        edit = e;
    } else {
        auto* e = new QLineEdit(ctx.parent);
        if (Has(style, "pass")) e->setEchoMode(QLineEdit::Password);
        if (limit > 0) e->setMaxLength(limit);
        QObject::connect(e, &QLineEdit::textChanged, e,
                         [parent, id] { SendCommand(parent, id, kCmdChanged); });
        edit = e;
    }
    UseRegisteredFont(edit, "굴림12");
    QPalette pal = edit->palette();
    pal.setColor(QPalette::Text, Qt::black);
    edit->setPalette(pal);
    SetColorRole(edit, ctx.element, "backcolor", QPalette::Base);
    return Place(edit, ctx, id);
}

QWidget* BuildCombo(const ControlContext& ctx) {
    auto* c = new QComboBox(ctx.parent);
    const std::string type = AttrText(ctx.element, "type");
    c->setEditable(ctx.dialog && type == "roomtitle");
    UseRegisteredFont(c, "굴림11");
    if (!ctx.dialog && type == "grade") {
        for (const std::string& t : RankChoices()) c->addItem(QString::fromStdString(t));
        c->setCurrentIndex(0);
    } else {
        if (const XMLElement* items = ctx.element->FirstChildElement("Items"))
            for (const XMLElement* i = items->FirstChildElement("Item"); i; i = i->NextSiblingElement("Item"))
                c->addItem(QString::fromUtf8(AttrText(i, "caption")));
        c->setCurrentIndex(-1);  // a new list box has nothing selected
    }
    QObject* parent = ctx.parent;
    const int id = ctx.id;
    QObject::connect(c, &QComboBox::activated, c, [parent, id] { SendCommand(parent, id, kCmdSelChanged); });
    if (c->isEditable())
        QObject::connect(c, &QComboBox::editTextChanged, c, [parent, id] { SendCommand(parent, id, kCmdChanged); });
    return Place(c, ctx, id);
}

QWidget* BuildBoardPlaceholder(const ControlContext& ctx) {
    auto* w = new QWidget(ctx.parent);
    w->setAutoFillBackground(true);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, ToQColor(AttrColor(ctx.element, "color")));
    w->setPalette(pal);
    return Place(w, ctx, ctx.id);
}

QWidget* BuildWeb(const ControlContext& ctx) {
    auto* w = new SkinWebView(ctx.parent);
    Place(w, ctx, kWebCtrlId);
    if (*AttrText(ctx.element, "url")) w->Navigate(AttrText(ctx.element, "url"));
    return w;
}

QWidget* BuildSlider(const ControlContext& ctx) {
    SkinBitmap thumb, channel;
    if (const XMLElement* img = ctx.element->FirstChildElement("Image"); img && *AttrText(img, "file"))
        thumb.Load(AttrText(img, "file"));
    if (const XMLElement* tick = ctx.element->FirstChildElement("TickImage"); tick && *AttrText(tick, "file"))
        channel.Load(AttrText(tick, "file"));
    auto* s = new SkinSlider(ctx.parent, thumb, channel);
    const XMLElement* range = ctx.element->FirstChildElement("Range");
    s->setRange(AttrInt(range, "min"), AttrInt(range, "max"));
    s->setValue(s->maximum());
    SetColorRole(s, ctx.element, "color", QPalette::Window);
    QObject* parent = ctx.parent;
    const int id = ctx.id;
    QObject::connect(s, &QSlider::valueChanged, s, [parent, id] { SendCommand(parent, id, kCmdSelChanged); });
    return Place(s, ctx, id);
}

QWidget* BuildList(const ControlContext& ctx) {
    auto* l = new QTreeWidget(ctx.parent);
    l->setHeaderHidden(true);
    l->setRootIsDecorated(false);
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    std::vector<int> widths;
    std::vector<Qt::Alignment> aligns;
    if (const XMLElement* header = ctx.element->FirstChildElement("HeaderItems"))
        for (const XMLElement* i = header->FirstChildElement("Item"); i; i = i->NextSiblingElement("Item")) {
            widths.push_back(AttrInt(i, "width"));
            const std::string align = AttrText(i, "align");
            aligns.push_back((align == "CENTER"  ? Qt::AlignHCenter
                              : align == "RIGHT" ? Qt::AlignRight
                                                 : Qt::AlignLeft) |
                             Qt::AlignVCenter);
        }
    widths.push_back(0);  // the trailing hidden, empty column
    // Rows come from the panes later: each takes its columns' alignment as it arrives.
    QObject::connect(l->model(), &QAbstractItemModel::rowsInserted, l,
                     [l, aligns](const QModelIndex& parentIndex, int first, int last) {
                         if (parentIndex.isValid()) return;
                         // The view lays the new rows out afresh anyway: telling it of each
                         // alignment set would cost more than thousands of rows themselves.
                         const QSignalBlocker quiet(l->model());
                         for (int row = first; row <= last; ++row)
                             if (QTreeWidgetItem* item = l->topLevelItem(row))
                                 for (int c = 0; c < static_cast<int>(aligns.size()); ++c)
                                     item->setTextAlignment(c, aligns[static_cast<size_t>(c)]);
                     });
    l->setColumnCount(static_cast<int>(widths.size()));
    for (int c = 0; c < static_cast<int>(widths.size()); ++c) {
        l->setColumnWidth(c, widths[static_cast<size_t>(c)]);
        l->setColumnHidden(c, widths[static_cast<size_t>(c)] == 0);
    }
    SetColorRole(l, ctx.element, "color", QPalette::Text);
    SetColorRole(l, ctx.element, "selectcolor", QPalette::Highlight);
    SetColorRole(l, ctx.element, "backcolor", QPalette::Base);
    if (*AttrText(ctx.element, "font")) UseRegisteredFont(l, AttrText(ctx.element, "font"));
    QObject* parent = ctx.parent;
    const int id = ctx.id;
    QObject::connect(l, &QTreeWidget::itemSelectionChanged, l,
                     [parent, id] { SendCommand(parent, id, kCmdSelChanged); });
    return Place(l, ctx, id);
}

QWidget* BuildChat(const ControlContext& ctx) {
    auto* t = new QTextEdit(ctx.parent);
    t->setReadOnly(true);
    t->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    UseRegisteredFont(t, "굴림12");
    SetColorRole(t, ctx.element, "backcolor", QPalette::Base);
    return Place(t, ctx, ctx.id);
}

}  // namespace

void SetControlBuilder(const std::string& name, ControlBuilder builder) {
    if (builder)
        Registered()[name] = std::move(builder);
    else
        Registered().erase(name);
}

QWidget* BuildSkinControl(const ControlContext& ctx) {
    if (!ctx.element) return nullptr;
    const std::string name = ctx.element->Name();
    if (auto it = Registered().find(name); it != Registered().end()) {
        QWidget* w = it->second(ctx);
        if (w && !ControlId(w)) SetControlId(w, ctx.id);
        return w;
    }
    if (name == "Static") return Place(new SkinStatic(ctx.parent, ctx.id, ctx.rect, ctx.element), ctx, ctx.id);
    if (name == "Button" || name == "AniButton") {
        SkinButton* b = name == "Button" ? new SkinButton(ctx.parent, ctx.id, ctx.rect, ctx.element)
                                         : new SkinAniButton(ctx.parent, ctx.id, ctx.rect, ctx.element);
        if (!ctx.dialog && name == "Button") b->SetMenuButton(Has(AttrText(ctx.element, "menu"), "true"));
        SetControlId(b, ctx.id);  // keeps the size of its image
        return b;
    }
    if (name == "Edit") return BuildEdit(ctx);
    if (name == "ComboBox") return BuildCombo(ctx);
    if (name == "BadukPan") return BuildBoardPlaceholder(ctx);
    if (name == "WebCtrl") return BuildWeb(ctx);
    if (ctx.dialog) return nullptr;
    if (name == "Slider") return BuildSlider(ctx);
    if (name == "ListCtrl") return BuildList(ctx);
    if (name == "ChatCtrl") return BuildChat(ctx);
    return nullptr;
}

int ControlId(const QWidget* control) {
    return control ? control->property(kIdProperty).toInt() : 0;
}

void SetControlId(QWidget* w, int id) { w->setProperty(kIdProperty, id); }

bool IsSkinButton(const QWidget* w) { return qobject_cast<const SkinButton*>(w) != nullptr; }

std::string ControlText(const QWidget* c) {
    if (auto* e = qobject_cast<const QLineEdit*>(c)) return e->text().toStdString();
    if (auto* e = qobject_cast<const QPlainTextEdit*>(c)) return e->toPlainText().toStdString();
    if (auto* e = qobject_cast<const QTextEdit*>(c)) return e->toPlainText().toStdString();
    if (auto* e = qobject_cast<const QComboBox*>(c)) return e->currentText().toStdString();
    if (auto* b = qobject_cast<const SkinButton*>(c)) return b->WindowText();
    return c ? c->windowTitle().toStdString() : std::string();
}

void SetControlTextOf(QWidget* c, const std::string& text) {
    const QString q = QString::fromStdString(text);
    if (auto* e = qobject_cast<QLineEdit*>(c)) return e->setText(q);
    if (auto* e = qobject_cast<QPlainTextEdit*>(c)) return e->setPlainText(q);
    if (auto* e = qobject_cast<QTextEdit*>(c)) return e->setPlainText(q);
    if (auto* e = qobject_cast<QComboBox*>(c)) {
        if (e->isEditable()) return e->setEditText(q);
        return e->setCurrentIndex(e->findText(q));
    }
    if (auto* b = qobject_cast<SkinButton*>(c)) return b->SetWindowText(text);
    if (c) c->setWindowTitle(q);
}

SkinWebView::SkinWebView(QWidget* parent) : QTextBrowser(parent) {
    setOpenExternalLinks(true);  // links to the web leave for the system's browser
}

void SkinWebView::Navigate(const std::string& address) {
    address_ = address;
    const QString a = QString::fromStdString(address);
    // A relative page is a file under the current directory, like the help folder.
    const QUrl url = QUrl::fromUserInput(a, QDir::currentPath(), QUrl::AssumeLocalFile);
    if (url.isLocalFile()) {
        // A missing page must not leave the user before a blank window that looks like help.
        if (!QFileInfo(url.toLocalFile()).isFile()) {
            setHtml(QStringLiteral("<h3>페이지를 찾을 수 없습니다.</h3><p>%1</p>")
                        .arg(url.toLocalFile().toHtmlEscaped()));
            return;
        }
        setSource(url);
    } else {
        QDesktopServices::openUrl(url);
    }
}

SkinSlider::SkinSlider(QWidget* parent, const SkinBitmap& thumb, const SkinBitmap& channel)
    : QSlider(Qt::Horizontal, parent), thumb_(thumb), channel_(channel) {}

int SkinSlider::ThumbLeft() const {
    const long long span = static_cast<long long>(maximum()) - minimum();
    if (span <= 0) return 0;
    const long long track = std::max(0, width() - ThumbWidth());
    return static_cast<int>(track * (static_cast<long long>(value()) - minimum()) / span);
}

void SkinSlider::SetValueAt(int x) {
    const long long span = static_cast<long long>(maximum()) - minimum();
    const int track = width() - ThumbWidth();
    if (span <= 0 || track <= 0) return;
    const long long at = std::clamp(x - ThumbWidth() / 2, 0, track);
    setValue(static_cast<int>(minimum() + (at * span + track / 2) / track));
}

void SkinSlider::paintEvent(QPaintEvent* e) {
    if (!Skinned()) {
        QSlider::paintEvent(e);
        return;
    }
    Surface dc(width(), height());
    const QColor bg = palette().color(QPalette::Window);
    dc.Fill(static_cast<Rgb>(bg.rgb() & 0xFFFFFF));
    if (!channel_.IsEmpty()) {
        const int h = std::min(channel_.Height(), height());
        dc.StretchBlt(QRect(0, (height() - h) / 2, width(), h), channel_.Bitmap(),
                      QRect(0, 0, channel_.Width(), h));
    }
    if (!thumb_.IsEmpty()) {
        const int h = std::min(thumb_.Height(), height());
        DrawKeyed(dc, thumb_, QRect(ThumbLeft(), (height() - h) / 2, ThumbWidth(), h), 0);
    }
    QPainter p(this);
    p.drawImage(0, 0, dc.image());
}

void SkinSlider::mousePressEvent(QMouseEvent* e) {
    if (!Skinned()) return QSlider::mousePressEvent(e);
    if (e->button() == Qt::LeftButton) SetValueAt(qRound(e->position().x()));
}

void SkinSlider::mouseMoveEvent(QMouseEvent* e) {
    if (!Skinned()) return QSlider::mouseMoveEvent(e);
    if (e->buttons() & Qt::LeftButton) SetValueAt(qRound(e->position().x()));
}

}  // namespace velmora
