// The tips banner, the manual and the maker's link.

#include "app/addresses.h"
#include "app/form1.h"

namespace app {

void TForm1::FireTimer1() { Timer1Timer(); }

void TForm1::Timer1Timer() {
  // The tips download and banner arrive with the tips feature.
}

void TForm1::SpeedButton1Click() { dialogs_.OpenWithShell(QStringLiteral("使用说明.txt")); }

void TForm1::Label11Click() { dialogs_.OpenWithShell(kMakerAddress); }

void TForm1::lblTipsClick() {
  if (!TipLink.isEmpty()) dialogs_.OpenWithShell(TipLink);
}

}  // namespace app
