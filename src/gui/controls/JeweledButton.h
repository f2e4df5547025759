#pragma once

#include <QPushButton>

// The push button used on every form: caption, icon, enabled state,
// visibility, height and a tag text; one clicked() per press.
class JeweledButton : public QPushButton
{
    Q_OBJECT

public:
    explicit JeweledButton(const QString &objectName, const QString &caption = QString(),
                           QWidget *parent = nullptr);

    QString tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }

private:
    QString m_tag;
};
