#pragma once

class QCheckBox;
class QLabel;
class QPushButton;
class QWidget;

namespace lexi {

// Hidden exactly when not enabled.
void setControl(QWidget &control, bool enableAndShow);

// The word whose verdict is shown was deleted: the mark says so, the word can no longer be edited,
// and the boxes of the verdict have nothing left to settle. Shared by the typing and the pop-up
// window quiz.
void showVerdictWordDeleted(QLabel &deletedMark, QPushButton &editButton, QCheckBox &dontAskAgainBox,
                            QCheckBox &iKnewItBox);

} // namespace lexi
