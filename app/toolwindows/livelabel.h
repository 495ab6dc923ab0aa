#pragma once

#include <QString>

class QLabel;
class QLineEdit;

namespace app {

// A label whose text changes (a count, a summary, a status panel): a screen reader reads the
// text itself as the label's name, and the label's fixed words as its description. While the
// text is empty, the fixed words are the name too, so the label is never without one.
// Prepares `label` (plain text, the description) and names it after its current text.
void makeLiveLabel(QLabel &label, const QString &fixedWords);
// Shows `text` on a live label, its name following. Change a live label's text only so.
void setLiveText(QLabel &label, const QString &text);

// Names the clear button that QLineEdit adds when clearButtonEnabled is on (an unnamed tool
// button otherwise), for a screen reader and as a tool tip.
void nameClearButton(QLineEdit &edit, const QString &name);

} // namespace app
