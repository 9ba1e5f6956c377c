// Pedal count and key tabs: the count lays out one tab per pedal, the
// selected tab is the pedal the key edit box shows and edits.
//
// The tab control never reports "no selection": its index stays on a tab
// (0 to 7) even while that tab or every tab is hidden, so the handlers
// always index a row of the configuration table.
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include "app/MainForm.h"
#include "app/PedalNames.h"
#include "app/TabControl.h"

namespace app {

void TMainForm::LayOutTabs()
{
    // 1. Every tab but the first is hidden.
    for (int i = 1; i < RzTabControl1->tabCount(); ++i)
        RzTabControl1->setTabVisible(i, false);
    // 2. One tab per pedal.
    const int count = PedalCount();
    for (int i = 0; i < count; ++i) {
        RzTabControl1->setTabCaption(i, PedalTabName(i));
        RzTabControl1->setTabVisible(i, true);
    }
    // 3. The first pedal; RzTabControl1Change runs when the index moves.
    RzTabControl1->setCurrentIndex(0);
}

void TMainForm::RzSpinEdit1Change()
{
    LayOutTabs();
    // 4. Every pedal of the new count is read out.
    RzBitBtn2Click();
}

void TMainForm::RzTabControl1Change()
{
    // A key held across the change belongs to no pedal: the click on the
    // tab may leave the focus in the key edit box, so no focus change
    // resets the capture.
    if (Capture != nullptr)
        Capture->Reset();
    RzEdit1->setAccessibleName(KeyBoxName(RzTabControl1->currentIndex()));
    RzEdit1->setText(QString::fromStdString(PedalConfigTable.KeyText(RzTabControl1->currentIndex())));
    // Focus switches the keyboard hook on: the combination can be pressed
    // at once.
    if (RzTabControl1->isVisible())
        RzEdit1->setFocus(Qt::OtherFocusReason);
}

void TMainForm::RzTabControl1TabClick()
{
    const int index = RzTabControl1->currentIndex();
    RzLabel3->setText(
        tr("%1 pairs of buttons to set").arg(index + 1));
    RzEdit1->setText(QString::fromStdString(PedalConfigTable.KeyText(index)));
}

}  // namespace app
