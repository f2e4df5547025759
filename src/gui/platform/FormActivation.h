#pragma once

class QWidget;

// Tells a form whether its activation comes from another of the program's
// forms. A form's activation handler runs when the user moves to it from
// another form; coming back from one of its own message boxes or dialogs,
// or from another program, is not a new activation.
namespace FormActivation {

// Starts watching which form was activated last (idempotent).
void install();

// True when `form` was just activated and the form active before it was a
// different one (or none).
bool cameFromAnotherForm(const QWidget *form);

} // namespace FormActivation
