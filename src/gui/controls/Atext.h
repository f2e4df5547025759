#pragma once

#include "gui/controls/FlatLineEdit.h"

#include <QFont>
#include <QVariant>
#include <QWidget>

class PropertyBag;
class QListWidget;

// The program's input field: a single-line edit box `Text1` with a list
// `List1` under it that stays empty and hidden. To its host it is an edit
// field: it forwards the edit box's text, selection, font and colours, and
// re-raises the edit box's events with their arguments by reference, so a
// handler connected directly can change a key code. It also carries a few
// stored attributes for a pick list that it keeps and persists only.
//
// An apostrophe can never be typed: its code 39 becomes 1 before the host's
// KeyPress handler sees it. The control is always exactly as tall as its edit
// box, which is 30 twips narrower than the control. When the edit box loses
// focus it takes back the colour it had when the stored properties were
// applied. A control built in code counts as loaded from an empty bag.
class Atext : public QWidget
{
    Q_OBJECT

public:
    static constexpr quint32 DefaultSelectBackColor = 267292039u; // 0x0FEE8D87

    explicit Atext(QWidget *parent = nullptr);

    QLineEdit *Text1() const { return m_text1; }
    // The list is made on first use: it never shows, and twelve of them on
    // the sticker form cost a fair part of the program's start.
    QListWidget *List1() const;

    QString Text() const;
    void setText(const QString &text);
    // The edit box's font (hides QWidget::setFont on purpose).
    QFont Font() const;
    void setFont(const QFont &font);
    quint32 ForeColor() const { return m_foreColor; }
    void setForeColor(quint32 color);
    QString lickey() const { return m_lickey; }
    void setLickey(const QString &value);
    QString SaveKey() const { return m_saveKey; }
    void setSaveKey(const QString &value);
    // Enabled acts on the whole control: QWidget::setEnabled.
    bool Enabled() const { return isEnabled(); }
    // Edit box height in twips; setting it re-runs the layout.
    int TextboxHight() const;
    void setTextboxHight(double twips);
    quint32 BackColor() const { return m_backColor; }
    void setBackColor(quint32 color);
    quint32 SelectBackColor() const { return m_selectBackColor; }
    void setSelectBackColor(quint32 color);
    QString datafeild() const { return m_datafeild; }
    void setDatafeild(const QString &value);
    QString Database() const { return m_database; }
    void setDatabase(const QString &value);
    int MaxLength() const;
    void setMaxLength(int length);
    int SelLength() const;
    void setSelLength(int length);
    int SelStart() const;
    void setSelStart(int start);
    QString SelText() const;
    void setSelText(const QString &text);
    int SelCount() const { return m_selCount; }
    void setSelCount(int count);
    float FontSize() const;
    void setFontSize(float points);
    int Flat3D() const { return m_flat3D; }
    // Fails (false, nothing changed) for a value outside 0 to 255, the
    // overflow of the stored 8-bit value.
    bool setFlat3D(int value);
    bool Locked() const;
    void setLocked(bool locked);
    QString ListOUTPUT() const { return m_listOutput; }
    void setListOUTPUT(const QString &value);
    QString ListSQL() const { return m_listSql; }
    void setListSQL(const QString &value);

    // Hides the list.
    void Mclick();
    // The accepted list item: nothing sets it, so always the empty text.
    QVariant ListText() const { return QVariant(m_acceptedItem); }

    // The edit box draws sunken when Flat3D is 1, flat otherwise.
    bool appears3D() const;

    // The stored properties, read and written in one fixed order. Loading
    // restores a stored selection but never alters the text.
    void ReadProperties(const PropertyBag &bag);
    void WriteProperties(PropertyBag &bag) const;

signals:
    void Change();
    void Click();
    void KeyDown(int &KeyCode, int &Shift);
    void KeyUp(int &KeyCode, int &Shift);
    void KeyPress(int &KeyAscii);
    void MouseDown(int &Button, int &Shift, float &X, float &Y);
    void MouseMove(int &Button, int &Shift, float &X, float &Y);
    // A stored property was set (the host's copy is out of date).
    void PropertyChanged(const QString &name);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void layoutChildren();
    void placeList();
    void applyAppearance();
    void applyColors();
    void changed(const char *name);
    bool keyPressed(QKeyEvent *event);
    QFont ambientFont() const;

    FlatLineEdit *m_text1;
    mutable QListWidget *m_list1 = nullptr;
    QString m_listSql;
    QString m_listOutput = QStringLiteral("0");
    quint8 m_flat3D = 0;
    int m_selCount = 0;
    QString m_datafeild;
    QString m_database;
    quint32 m_selectBackColor = DefaultSelectBackColor;
    QString m_saveKey = QStringLiteral("0");
    QString m_lickey = QStringLiteral("0");
    QString m_acceptedItem;
    quint32 m_restoreBackColor = 0;
    quint32 m_backColor;
    quint32 m_foreColor;
    double m_textboxHight = 285;
    bool m_inLayout = false;
    bool m_reading = false;
    bool m_replaying = false;
};
