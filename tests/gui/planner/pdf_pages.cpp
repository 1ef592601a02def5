#include "pdf_pages.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>

namespace ostrivane::test {

PdfPages rasterise_pdf(const QString& pdf, int dpi) {
    PdfPages out;
    QTemporaryDir dir;
    QProcess p;
    p.start(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"), pdf,
             dir.filePath(QStringLiteral("page"))});
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        out.error = QStringLiteral("pdftoppm failed (poppler-utils installed?): ") +
                    QString::fromLocal8Bit(p.readAllStandardError());
        return out;
    }
    QStringList files = QDir(dir.path()).entryList({QStringLiteral("page*.png")}, QDir::Files);
    // page-1.png … page-10.png: by number, not by text.
    std::sort(files.begin(), files.end(), [](const QString& a, const QString& b) {
        static const QRegularExpression digits(QStringLiteral("(\\d+)"));
        return digits.match(a).captured(1).toInt() < digits.match(b).captured(1).toInt();
    });
    for (const QString& f : files)
        out.pages.push_back(QImage(dir.filePath(f)).convertToFormat(QImage::Format_RGB32));
    return out;
}

int pdf_page_count(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdf});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return -1;
    const QString info = QString::fromLocal8Bit(p.readAllStandardOutput());
    const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

namespace {
bool blue(QRgb c) {
    return qBlue(c) > 160 && qRed(c) < 110 && qGreen(c) < 110;
}
}  // namespace

int longest_blue_run(const QImage& page) {
    int best = 0;
    for (int y = 0; y < page.height(); ++y) {
        int run = 0;
        for (int x = 0; x < page.width(); ++x) {
            run = blue(page.pixel(x, y)) ? run + 1 : 0;
            best = std::max(best, run);
        }
    }
    for (int x = 0; x < page.width(); ++x) {
        int run = 0;
        for (int y = 0; y < page.height(); ++y) {
            run = blue(page.pixel(x, y)) ? run + 1 : 0;
            best = std::max(best, run);
        }
    }
    return best;
}

}  // namespace ostrivane::test
