#include "ui/pdf_document.h"

#include <QBuffer>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>
#include <vector>

#include "app/report/report_pages.h"
#include "ui/level_chart_painter.h"

namespace zelar::ui {

namespace {

constexpr int kDpi = 300;
constexpr double kMm = kDpi / 25.4;

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// A text set in a width: broken between words and, where one word is longer than the line,
// inside it, so that nothing is cut off.
class SetText {
  public:
    SetText(const QString& s, const QFont& font, const QPaintDevice* device, double width)
        : layout_(s, font, device) {
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout_.setTextOption(option);
        layout_.beginLayout();
        for (QTextLine line = layout_.createLine(); line.isValid(); line = layout_.createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, height_));
            height_ += line.height();
        }
        layout_.endLayout();
    }
    double height() const { return height_; }
    void draw(QPainter& painter, const QPointF& at) const { layout_.draw(&painter, at); }

  private:
    QTextLayout layout_;
    double height_ = 0;
};

// A part of the document as the page sets it: the report's parts, with the heading before them
// and the signatures after.
struct Block {
    QString title;
    bool documentTitle = false;
    QStringList columns;
    std::vector<QStringList> rows;  // the caption, then the values
    QString note;
    const LevelChart* chart = nullptr;
    bool plain = false;  // the heading: no borders, captions in bold
    double noteAbove = 1.5 * kMm;
};

// The fonts, widths and heights of the page; everything in the writer's device units.
class Sheet {
  public:
    Sheet(QPainter& painter, double width) : painter_(painter), width_(width) {
        body_ = QFont(QStringLiteral("DejaVu Sans"));
        body_.setPointSizeF(9);
        bold_ = body_;
        bold_.setBold(true);
        title_ = bold_;
        title_.setPointSizeF(11);
        documentTitle_ = bold_;
        documentTitle_.setPointSizeF(14);
        note_ = body_;
        note_.setItalic(true);
        note_.setPointSizeF(8.5);
        // Six users side by side: a smaller type, so that a phone number keeps to its line.
        column_ = body_;
        column_.setPointSizeF(7.5);
        columnHead_ = column_;
        columnHead_.setBold(true);
    }

    PartMeasure measure(const Block& block) const;
    void paint(const Block& block, const PageSlice& slice);
    void footer(int page, int pages, double bottom);

  private:
    static constexpr double kPad = 1.0 * kMm;
    static constexpr double kChartHeight = 32 * kMm;

    std::vector<double> widths(const Block& block, std::size_t cells) const;
    double textHeight(const QFont& font, double width, const QString& s) const;
    void drawText(const QFont& font, const QRectF& area, const QString& s);
    const QFont& cellFont(const Block& block, qsizetype cell, bool head) const;
    double rowHeight(const Block& block, const QStringList& cells, bool head) const;
    double titleHeight(const Block& block) const;
    double afterHeight(const Block& block) const;
    double paintRow(const Block& block, const QStringList& cells, bool head, double y);

    QPainter& painter_;
    double width_;
    QFont body_, bold_, title_, documentTitle_, note_, column_, columnHead_;
};

std::vector<double> Sheet::widths(const Block& block, std::size_t cells) const {
    const double caption = width_ * (block.plain ? 0.25 : block.columns.empty() ? 0.45 : 0.22);
    std::vector<double> out{caption};
    for (std::size_t i = 1; i < cells; ++i)
        out.push_back((width_ - caption) / static_cast<double>(cells - 1));
    return out;
}

double Sheet::textHeight(const QFont& font, double width, const QString& s) const {
    return SetText(s, font, painter_.device(), width).height();
}

void Sheet::drawText(const QFont& font, const QRectF& area, const QString& s) {
    painter_.setPen(Qt::black);
    SetText(s, font, painter_.device(), area.width()).draw(painter_, area.topLeft());
}

const QFont& Sheet::cellFont(const Block& block, qsizetype cell, bool head) const {
    if (!block.columns.isEmpty())
        return head ? columnHead_ : column_;
    return head || (block.plain && cell == 0) ? bold_ : body_;
}

double Sheet::rowHeight(const Block& block, const QStringList& cells, bool head) const {
    const std::vector<double> w = widths(block, static_cast<std::size_t>(cells.size()));
    double height = 0;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        const QFont& font = cellFont(block, i, head);
        height =
            std::max(height, textHeight(font, w[static_cast<std::size_t>(i)] - 2 * kPad, cells[i]));
    }
    return height + 2 * kPad;
}

double Sheet::titleHeight(const Block& block) const {
    if (block.title.isEmpty())
        return 0;
    const QFont& font = block.documentTitle ? documentTitle_ : title_;
    return (block.documentTitle ? 0 : 4 * kMm) + textHeight(font, width_, block.title) + 1.5 * kMm;
}

double Sheet::afterHeight(const Block& block) const {
    double height = 0;
    if (block.chart != nullptr)
        height += 2 * kMm + kChartHeight;
    if (!block.note.isEmpty())
        height += block.noteAbove + textHeight(note_, width_, block.note);
    return height;
}

PartMeasure Sheet::measure(const Block& block) const {
    PartMeasure m;
    m.title = titleHeight(block);
    if (!block.columns.isEmpty())
        m.head = rowHeight(block, QStringList{QString()} + block.columns, true);
    for (const QStringList& row : block.rows)
        m.rows.push_back(rowHeight(block, row, false));
    m.after = afterHeight(block);
    return m;
}

double Sheet::paintRow(const Block& block, const QStringList& cells, bool head, double y) {
    const double height = rowHeight(block, cells, head);
    const std::vector<double> w = widths(block, static_cast<std::size_t>(cells.size()));
    double x = 0;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        const QRectF cell(x, y, w[static_cast<std::size_t>(i)], height);
        if (!block.plain) {
            painter_.fillRect(cell, head     ? QColor(0xdd, 0xdd, 0xdd)
                                    : i == 0 ? QColor(0xee, 0xee, 0xee)
                                             : QColor(Qt::white));
            painter_.setPen(QColor(0x88, 0x88, 0x88));
            painter_.drawRect(cell);
        }
        drawText(cellFont(block, i, head), cell.adjusted(kPad, kPad, -kPad, -kPad), cells[i]);
        x += cell.width();
    }
    return y + height;
}

void Sheet::paint(const Block& block, const PageSlice& slice) {
    double y = slice.top;
    if (slice.title && !block.title.isEmpty()) {
        const QFont& font = block.documentTitle ? documentTitle_ : title_;
        const double above = block.documentTitle ? 0 : 4 * kMm;
        drawText(font, QRectF(0, y + above, width_, titleHeight(block) - above), block.title);
        y += titleHeight(block);
    }
    if (slice.head)
        y = paintRow(block, QStringList{QString()} + block.columns, true, y);
    for (std::size_t row = slice.firstRow; row < slice.endRow; ++row)
        y = paintRow(block, block.rows[row], false, y);
    if (!slice.after)
        return;
    if (block.chart != nullptr) {
        QFont font = body_;
        font.setPointSizeF(7.5);
        paintLevelChart(painter_, QRectF(0, y + 2 * kMm, width_, kChartHeight), *block.chart,
                        {Qt::white, Qt::black, QColor(160, 160, 160), font});
        y += 2 * kMm + kChartHeight;
    }
    if (!block.note.isEmpty()) {
        drawText(note_, QRectF(0, y + block.noteAbove, width_, 0), block.note);
    }
}

void Sheet::footer(int page, int pages, double bottom) {
    painter_.setFont(note_);
    painter_.setPen(Qt::black);
    painter_.drawText(QRectF(0, bottom, width_, 6 * kMm), Qt::AlignHCenter | Qt::AlignBottom,
                      QStringLiteral("Страница %1 из %2").arg(page).arg(pages));
}

QStringList cells(const ReportRow& row) {
    QStringList out{text(row.caption)};
    for (const std::string& value : row.values)
        out.push_back(text(value));
    return out;
}

std::vector<Block> blocks(const HandoverReport& report) {
    std::vector<Block> out;
    Block heading{text(kReportTitle), true, {}, {}, {}, nullptr, true};
    for (const ReportRow& row : report.heading)
        heading.rows.push_back(cells(row));
    out.push_back(heading);
    for (const ReportPart& part : report.parts) {
        Block block{text(part.title),
                    false,
                    {},
                    {},
                    text(part.note),
                    part.chart ? &*part.chart : nullptr,
                    false};
        for (const std::string& column : part.columns)
            block.columns.push_back(text(column));
        for (const ReportRow& row : part.rows)
            block.rows.push_back(cells(row));
        out.push_back(block);
    }
    Block signatures;
    signatures.noteAbove = 8 * kMm;
    signatures.note =
        text(kReportInstallerSigns) + QStringLiteral("        ") + text(kReportClientSigns);
    out.push_back(signatures);
    return out;
}

}  // namespace

std::string pdfFromReport(const HandoverReport& report) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setTitle(text(kReportTitle));
    writer.setCreator(QStringLiteral("zelar-config"));
    writer.setResolution(kDpi);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
    const QRectF area(0, 0, writer.width(), writer.height());
    const double footer = 8 * kMm;
    QPainter painter(&writer);
    Sheet sheet(painter, area.width());
    const std::vector<Block> parts = blocks(report);
    std::vector<PartMeasure> measures;
    for (const Block& block : parts)
        measures.push_back(sheet.measure(block));
    const PagePlan plan = planPages(measures, area.height() - footer);
    for (std::size_t page = 0; page < plan.size(); ++page) {
        if (page > 0)
            writer.newPage();
        for (const PageSlice& slice : plan[page])
            sheet.paint(parts[slice.part], slice);
        sheet.footer(static_cast<int>(page + 1), static_cast<int>(plan.size()),
                     area.height() - footer);
    }
    painter.end();
    return bytes.toStdString();
}

}  // namespace zelar::ui
