#include "gui/controls/Atext.h"

#include "gui/controls/FlatLineEdit.h"
#include "gui/controls/PropertyBag.h"
#include "platform/OleColor.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <cmath>

namespace {

constexpr double DefaultTextboxHight = 285;
constexpr float DefaultFontSize = 8;

// Shift state as the events carry it: 1 Shift, 2 Ctrl, 4 Alt.
int shiftState(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
        | (modifiers & Qt::AltModifier ? 4 : 0);
}

// The key code of a key: letters and digits are their upper-case character
// codes, the rest the usual virtual-key numbers.
int keyCodeOf(const QKeyEvent *event)
{
    const int key = event->key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)
        || key == Qt::Key_Space)
        return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 112 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        return key & 0xFF;
    }
}

// The character code a key types, 0 for a key that types nothing. Keys with
// Ctrl or Alt are editing commands (copy, paste) and type nothing.
int characterOf(const QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return 0;
    switch (event->key()) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    default:
        break;
    }
    // Delete carries the DEL character (127) on X11, but like the other
    // editing keys it types nothing.
    const QString text = event->text();
    if (text.isEmpty() || text.at(0).unicode() < 32 || text.at(0).unicode() == 127)
        return 0;
    return text.at(0).unicode();
}

int mouseButton(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0)
        | (buttons & Qt::MiddleButton ? 4 : 0);
}

} // namespace

Atext::Atext(QWidget *parent)
    : QWidget(parent)
    , m_text1(new FlatLineEdit(this))
    , m_backColor(0x80000005u)
    , m_foreColor(0x80000008u)
{
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->move(0, 0);
    m_text1->resize(m_text1->width(), Twips::toPixels(DefaultTextboxHight));
    m_text1->setMouseTracking(true);
    m_text1->installEventFilter(this);
    setFocusProxy(m_text1);
    connect(m_text1, &QLineEdit::textChanged, this, [this] { emit Change(); });
    ReadProperties(PropertyBag());
}

QListWidget *Atext::List1() const
{
    if (!m_list1) {
        auto *self = const_cast<Atext *>(this);
        m_list1 = new QListWidget(self);
        m_list1->setObjectName(QStringLiteral("List1"));
        m_list1->hide();
        self->placeList();
    }
    return m_list1;
}

QString Atext::Text() const
{
    return m_text1->text();
}

void Atext::setText(const QString &text)
{
    m_text1->setText(text);
    changed("Text");
}

QFont Atext::Font() const
{
    return m_text1->font();
}

void Atext::setFont(const QFont &font)
{
    m_text1->setFont(font);
    changed("Font");
}

void Atext::setForeColor(quint32 color)
{
    m_foreColor = color;
    applyColors();
    changed("ForeColor");
}

void Atext::setLickey(const QString &value)
{
    m_lickey = value;
    changed("lickey");
}

void Atext::setSaveKey(const QString &value)
{
    m_saveKey = value;
    changed("SaveKey");
}

int Atext::TextboxHight() const
{
    // The height as set, unless the edit box was sized by other means.
    const double twips = m_text1->height() == Twips::toPixels(m_textboxHight)
        ? m_textboxHight
        : Twips::fromPixels(m_text1->height());
    return int(std::nearbyint(twips));
}

void Atext::setTextboxHight(double twips)
{
    m_textboxHight = twips;
    m_text1->resize(m_text1->width(), qMax(0, Twips::toPixels(twips)));
    layoutChildren();
    changed("TextboxHight");
}

void Atext::setBackColor(quint32 color)
{
    m_backColor = color;
    applyColors();
    changed("BackColor");
}

void Atext::setSelectBackColor(quint32 color)
{
    m_selectBackColor = color;
    changed("SelectBackColor");
}

void Atext::setDatafeild(const QString &value)
{
    m_datafeild = value;
    changed("datafeild");
}

void Atext::setDatabase(const QString &value)
{
    m_database = value;
    changed("Database");
}

int Atext::MaxLength() const
{
    // QLineEdit's "no limit" is 32767; the control's is 0.
    return m_text1->maxLength() == 32767 ? 0 : m_text1->maxLength();
}

void Atext::setMaxLength(int length)
{
    m_text1->setMaxLength(length <= 0 ? 32767 : length);
    changed("MaxLength");
}

int Atext::SelLength() const
{
    return m_text1->hasSelectedText() ? int(m_text1->selectedText().size()) : 0;
}

void Atext::setSelLength(int length)
{
    const int start = SelStart();
    m_text1->setSelection(start, qBound(0, length, int(m_text1->text().size()) - start));
    changed("SelLength");
}

int Atext::SelStart() const
{
    return m_text1->hasSelectedText() ? m_text1->selectionStart() : m_text1->cursorPosition();
}

void Atext::setSelStart(int start)
{
    // Setting the start collapses the selection to a caret.
    m_text1->deselect();
    m_text1->setCursorPosition(qBound(0, start, int(m_text1->text().size())));
    changed("SelStart");
}

QString Atext::SelText() const
{
    return m_text1->selectedText();
}

void Atext::setSelText(const QString &text)
{
    m_text1->insert(text);
    changed("SelText");
}

void Atext::setSelCount(int count)
{
    m_selCount = count;
    changed("SelCount");
}

float Atext::FontSize() const
{
    return float(m_text1->font().pointSizeF());
}

void Atext::setFontSize(float points)
{
    if (!(points > 0 && points < 1000)) // NaN and infinity too
        return;
    QFont font = m_text1->font();
    font.setPointSizeF(points);
    m_text1->setFont(font);
    changed("FontSize");
}

bool Atext::setFlat3D(int value)
{
    if (value < 0 || value > 255)
        return false;
    m_flat3D = quint8(value);
    layoutChildren();
    changed("Flat3D");
    return true;
}

bool Atext::Locked() const
{
    return m_text1->isReadOnly();
}

void Atext::setLocked(bool locked)
{
    m_text1->setReadOnly(locked);
    changed("Locked");
}

void Atext::setListOUTPUT(const QString &value)
{
    m_listOutput = value;
    changed("ListOUTPUT");
}

void Atext::setListSQL(const QString &value)
{
    m_listSql = value;
    changed("ListSQL");
}

void Atext::Mclick()
{
    if (m_list1)
        m_list1->hide();
}

bool Atext::appears3D() const
{
    return m_flat3D == 1;
}

void Atext::changed(const char *name)
{
    if (!m_reading)
        emit PropertyChanged(QString::fromLatin1(name));
}

void Atext::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange)
        changed("Enabled");
    QWidget::changeEvent(event);
}

void Atext::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutChildren();
}

void Atext::layoutChildren()
{
    if (m_inLayout)
        return;
    m_inLayout = true;
    const int boxWidth = Twips::toPixels(Twips::fromPixels(width()) - 30);
    if (boxWidth >= 0)
        m_text1->resize(boxWidth, m_text1->height());
    placeList();
    if ((!m_list1 || m_list1->isHidden()) && height() != m_text1->height())
        resize(width(), m_text1->height());
    applyAppearance();
    m_inLayout = false;
}

void Atext::placeList()
{
    if (m_list1)
        m_list1->setGeometry(
            m_list1->x(), m_text1->y() + m_text1->height(), m_text1->width(), m_list1->height());
}

void Atext::applyAppearance()
{
    // Flat: a plain one-pixel line instead of the sunken frame; the
    // palette carries the colours in both looks.
    m_text1->setFlatLine(appears3D() ? QColor() : QGuiApplication::palette().color(QPalette::Dark));
}

void Atext::applyColors()
{
    QPalette pal = m_text1->palette();
    pal.setColor(QPalette::Base, OleColor::toColor(m_backColor));
    pal.setColor(QPalette::Text, OleColor::toColor(m_foreColor));
    m_text1->setPalette(pal);
    applyAppearance();
}

QFont Atext::ambientFont() const
{
    return parentWidget() ? parentWidget()->font() : QApplication::font();
}

bool Atext::keyPressed(QKeyEvent *event)
{
    if (m_replaying)
        return false;
    int keyCode = keyCodeOf(event);
    int shift = shiftState(event->modifiers());
    emit KeyDown(keyCode, shift);

    const int typed = characterOf(event);
    if (typed == 0)
        return false;
    // The apostrophe is refused before the host sees it.
    int keyAscii = typed == 39 ? 1 : typed;
    emit KeyPress(keyAscii);
    if (keyAscii == typed)
        return false;
    if (keyAscii != 8 && keyAscii != 13 && keyAscii < 32)
        return true; // 0, 1 and other control codes type nothing
    // The host's code is typed in place of the key.
    const int key = keyAscii == 8 ? Qt::Key_Backspace : keyAscii == 13 ? Qt::Key_Return : 0;
    QKeyEvent replaced(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar(keyAscii)));
    m_replaying = true;
    QCoreApplication::sendEvent(m_text1, &replaced);
    m_replaying = false;
    return true;
}

bool Atext::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_text1)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
        return keyPressed(static_cast<QKeyEvent *>(event));
    case QEvent::KeyRelease: {
        auto *key = static_cast<QKeyEvent *>(event);
        int keyCode = keyCodeOf(key);
        int shift = shiftState(key->modifiers());
        emit KeyUp(keyCode, shift);
        return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        int button
            = mouseButton(event->type() == QEvent::MouseButtonPress ? mouse->button() : mouse->buttons());
        int shift = shiftState(mouse->modifiers());
        float x = float(Twips::fromPixels(int(mouse->position().x())));
        float y = float(Twips::fromPixels(int(mouse->position().y())));
        if (event->type() == QEvent::MouseButtonPress)
            emit MouseDown(button, shift, x, y);
        else
            emit MouseMove(button, shift, x, y);
        return false;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            emit Click();
        return false;
    case QEvent::FocusOut:
        m_backColor = m_restoreBackColor;
        applyColors();
        return false;
    default:
        return false;
    }
}

void Atext::ReadProperties(const PropertyBag &bag)
{
    m_reading = true;
    m_text1->setText(bag.read(QStringLiteral("Text"), QString()).toString());
    m_text1->setFont(bag.read(QStringLiteral("Font"), ambientFont()).value<QFont>());
    setForeColor(bag.read(QStringLiteral("ForeColor"), 0x80000008u).toUInt());
    setLickey(bag.read(QStringLiteral("lickey"), QStringLiteral("0")).toString());
    setSaveKey(bag.read(QStringLiteral("SaveKey"), QStringLiteral("0")).toString());
    setEnabled(bag.read(QStringLiteral("Enabled"), true).toBool());
    setTextboxHight(bag.read(QStringLiteral("TextboxHight"), DefaultTextboxHight).toDouble());
    setBackColor(bag.read(QStringLiteral("BackColor"), 0x80000005u).toUInt());
    setSelectBackColor(bag.read(QStringLiteral("SelectBackColor"), DefaultSelectBackColor).toUInt());
    setMaxLength(bag.read(QStringLiteral("MaxLength"), 0).toInt());
    setDatabase(bag.read(QStringLiteral("Database"), QString()).toString());
    setDatafeild(bag.read(QStringLiteral("datafeild"), QString()).toString());
    m_restoreBackColor = m_backColor;
    // A stored selection is restored as a selection; its text is not
    // inserted again, so loading never changes the text.
    const int selLength = bag.read(QStringLiteral("SelLength"), 0).toInt();
    const int selStart = bag.read(QStringLiteral("SelStart"), 0).toInt();
    setSelStart(selStart);
    setSelLength(selLength);
    setSelCount(bag.read(QStringLiteral("SelCount"), 0).toInt());
    setFontSize(bag.read(QStringLiteral("FontSize"), DefaultFontSize).toFloat());
    setFlat3D(bag.read(QStringLiteral("Flat3D"), 0).toInt());
    setLocked(bag.read(QStringLiteral("Locked"), false).toBool());
    setListOUTPUT(bag.read(QStringLiteral("ListOUTPUT"), QStringLiteral("0")).toString());
    setListSQL(bag.read(QStringLiteral("ListSQL"), QString()).toString());
    m_reading = false;
}

void Atext::WriteProperties(PropertyBag &bag) const
{
    bag.write(QStringLiteral("Text"), Text(), QString());
    // The size is stored under its own key; the font counts as the ambient
    // one when only its size differs.
    QFont ambient = ambientFont();
    ambient.setPointSizeF(Font().pointSizeF());
    bag.write(QStringLiteral("Font"), Font(), ambient);
    bag.write(QStringLiteral("ForeColor"), m_foreColor, 0x80000008u);
    bag.write(QStringLiteral("lickey"), m_lickey, QStringLiteral("0"));
    bag.write(QStringLiteral("SaveKey"), m_saveKey, QStringLiteral("0"));
    bag.write(QStringLiteral("Enabled"), isEnabled(), true);
    bag.write(QStringLiteral("TextboxHight"), float(TextboxHight()), float(DefaultTextboxHight));
    bag.write(QStringLiteral("BackColor"), m_backColor, 0x80000005u);
    bag.write(QStringLiteral("SelectBackColor"), m_selectBackColor, DefaultSelectBackColor);
    bag.write(QStringLiteral("MaxLength"), MaxLength(), 0);
    bag.write(QStringLiteral("Database"), m_database, QString());
    bag.write(QStringLiteral("datafeild"), m_datafeild, QString());
    bag.write(QStringLiteral("SelLength"), SelLength(), 0);
    bag.write(QStringLiteral("SelStart"), SelStart(), 0);
    bag.write(QStringLiteral("SelText"), SelText(), QString());
    bag.write(QStringLiteral("SelCount"), m_selCount, 0);
    bag.write(QStringLiteral("FontSize"), FontSize(), DefaultFontSize);
    bag.write(QStringLiteral("Flat3D"), int(m_flat3D), 0);
    bag.write(QStringLiteral("Locked"), Locked(), false);
    bag.write(QStringLiteral("ListOUTPUT"), m_listOutput, QStringLiteral("0"));
    bag.write(QStringLiteral("ListSQL"), m_listSql, QString());
}
