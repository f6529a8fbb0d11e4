#include "output/page_painter.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace xb::output {
namespace {

constexpr double kNumberTop = kPageHeight + 1; // the page number's line below the contents

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

Qt::Alignment alignment(Align align) {
    switch (align) {
    case Align::Center:
        return Qt::AlignHCenter;
    case Align::Right:
        return Qt::AlignRight;
    case Align::Left:
        break;
    }
    return Qt::AlignLeft;
}

class Sheet {
  public:
    Sheet(QPainter& painter, double dotsPerMm) : p_(painter), scale_(dotsPerMm) {}

    QRectF rect(const Area& a) const {
        return QRectF(a.x * scale_, a.y * scale_, a.w * scale_, a.h * scale_);
    }
    QFont font(double size, bool bold) const {
        QFont f(printFontFamily());
        f.setPointSizeF(size);
        f.setBold(bold);
        return f;
    }
    void draw(const Page& page) {
        QPen pen(Qt::black);
        pen.setWidthF(0.25 * scale_);
        p_.setPen(pen);
        p_.setBrush(Qt::NoBrush);
        for (const Area& cell : page.cells) {
            if (cell.h == 0)
                p_.drawLine(rect(cell).topLeft(), rect(cell).topRight());
            else
                p_.drawRect(rect(cell));
        }
        for (const PageMark& mark : page.marks) {
            p_.drawRect(rect(mark.area));
            if (!mark.marked) continue;
            p_.setFont(font(mark.area.h * 72.0 / 25.4, true));
            p_.drawText(rect(mark.area), Qt::AlignCenter | Qt::TextDontClip, QStringLiteral("√"));
        }
        for (const PageText& text : page.texts) {
            if (text.text.empty()) continue;
            p_.setFont(font(text.size, text.bold));
            p_.drawText(rect(text.area),
                        alignment(text.align) | Qt::AlignVCenter | Qt::TextDontClip, q(text.text));
        }
        if (!page.number.empty()) {
            p_.setFont(font(10, false));
            p_.drawText(rect({0, kNumberTop, kPageWidth, 5}), Qt::AlignCenter, q(page.number));
        }
    }

  private:
    QPainter& p_;
    double scale_;
};

} // namespace

QString printFontFamily() {
    static const QString family = [] {
        const QStringList families = QFontDatabase::families();
        for (const char* wanted : {"Noto Serif CJK SC", "Noto Sans CJK SC"})
            if (families.contains(QString::fromLatin1(wanted))) return QString::fromLatin1(wanted);
        return QGuiApplication::font().family();
    }();
    return family;
}

void setFormLayout(QPagedPaintDevice& device) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
}

bool paintPages(QPagedPaintDevice& device, const std::vector<Page>& pages) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const double dotsPerMm = device.logicalDpiX() / 25.4;
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !device.newPage()) return false;
        Sheet(painter, dotsPerMm).draw(pages[i]);
    }
    return painter.end();
}

store::Status writePdf(const std::vector<Page>& pages, const QString& path, const QString& title) {
    {
        QPdfWriter writer(path);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Xunbao"));
        writer.setResolution(300);
        setFormLayout(writer);
        if (paintPages(writer, pages)) return {};
    }
    QFile::remove(path);
    return store::fail("无法写入文件 " + path.toStdString());
}

} // namespace xb::output
