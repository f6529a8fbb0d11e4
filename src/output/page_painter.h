// Draws pages of the printed form with QPainter on any paged device: a printer, the print
// preview or a PDF file. The pages are A4 portrait with 10 mm margins, set in a CJK serif font.
#pragma once

#include "output/print_page.h"
#include "store/result.h"

#include <QString>

#include <vector>

class QPagedPaintDevice;

namespace xb::output {

// The font family the form is printed in: Noto Serif CJK SC when installed, else Noto Sans
// CJK SC, else the application's default family.
QString printFontFamily();

// Sets A4 portrait with 10 mm margins.
void setFormLayout(QPagedPaintDevice& device);

// Draws `pages` onto `device`, whose layout setFormLayout() has set, one sheet each. False when
// the device could not be painted on.
bool paintPages(QPagedPaintDevice& device, const std::vector<Page>& pages);

// Writes `pages` as a PDF file at `path`.
store::Status writePdf(const std::vector<Page>& pages, const QString& path, const QString& title);

} // namespace xb::output
