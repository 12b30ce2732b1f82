#include "mprinterpg.h"

PrinterSettings gPrinterSettings;
std::int16_t gPrinterIndex = 0;
bool gPrintPreview = false;
std::array<QString, kPrinterMessageCount> gPrinterMessages;

void SetPrinterMessage(int index, const QString& text) {
    if (index < 0 || index >= kPrinterMessageCount) {
        return;
    }
    gPrinterMessages[static_cast<std::size_t>(index)] = text;
}
