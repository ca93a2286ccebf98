#pragma once
// The names a screen reader reads for a window's controls; nothing visible
// changes.

class QWidget;

// Every input and result field is named after the labels on its row: the
// caption and symbol left of it, the unit right of it in parentheses
// ("Rezonanční kmitočet - Fs (Hz)", "Obsah (cm²)"). Every button is named
// by its caption and every tab page by its tab's caption, without the
// accelerator's "&" and the blanks around them. The windows themselves are
// windows to a screen reader, named by their captions.
void nameControlsFromLabels(QWidget* form);
