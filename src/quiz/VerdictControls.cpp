#include "VerdictControls.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace lexi {

void setControl(QWidget &control, bool enableAndShow)
{
    control.setEnabled(enableAndShow);
    control.setVisible(enableAndShow);
}

void showVerdictWordDeleted(QLabel &deletedMark, QPushButton &editButton, QCheckBox &dontAskAgainBox,
                            QCheckBox &iKnewItBox)
{
    deletedMark.show();
    setControl(editButton, false);
    for (QCheckBox *box : {&dontAskAgainBox, &iKnewItBox}) {
        box->setChecked(false);
        box->setEnabled(false);
    }
}

} // namespace lexi
