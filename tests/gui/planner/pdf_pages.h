#pragma once
#include <QImage>
#include <QString>
#include <QStringList>
#include <vector>

namespace ostrivane::test {

// Pages of a PDF as poppler rasterises them (pdftoppm), and what pdfinfo says of it.
struct PdfPages {
    std::vector<QImage> pages;
    QString error;  // empty when the tools ran
};
PdfPages rasterise_pdf(const QString& pdf, int dpi);
int pdf_page_count(const QString& pdf);

// The longest straight run of opaque blue (the colour of the axis line) in a row or a column,
// in pixels.
int longest_blue_run(const QImage& page);

}  // namespace ostrivane::test
