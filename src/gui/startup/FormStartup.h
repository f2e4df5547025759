#pragma once

class QWidget;

// The windows' side of start-up and the form helpers every window uses.

// The start-up procedure: resets the globals, shows the main form and fills
// the control sequences, in that order.
void Main();

// Places a form, or a control inside its form, by the screen's size: left =
// (screen width - width) / 2, top = (screen height - 800 twips - height) / 2.
void CenterForm(QWidget *object);

// Makes every JeweledButton of a form repaint by nudging its height.
void RefreshButtons(QWidget *form);
