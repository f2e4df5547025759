#pragma once

class QWidget;

// A choice written to the settings file that could not be: it holds in the
// window that made it and is gone at the next start. The window says so
// once, however many choices follow.
class UnsavedSettings
{
public:
    // Tells the user, over `parent`, unless `saved` or told before.
    void tell(QWidget *parent, bool saved);

private:
    bool m_told = false;
};
