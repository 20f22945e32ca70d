#include "app/report/report_pages.h"

#include <numeric>

namespace zelar {

namespace {

double totalHeight(const PartMeasure& part) {
    return part.title + part.head + std::accumulate(part.rows.begin(), part.rows.end(), 0.0) +
           part.after;
}

// The pages being filled: the slices set so far and how far down the last page is.
class PageFiller {
  public:
    explicit PageFiller(double pageHeight) : height_(pageHeight) {}

    bool fits(double height) const { return y_ + height <= height_; }
    bool pageEmpty() const { return y_ <= 0; }
    void newPage() {
        plan_.emplace_back();
        y_ = 0;
    }
    void set(PageSlice slice) {
        if (plan_.empty())
            plan_.emplace_back();
        plan_.back().push_back(slice);
    }
    double& y() { return y_; }
    PagePlan take() { return std::move(plan_); }

  private:
    double height_;
    double y_ = 0;
    PagePlan plan_;
};

void placePart(PageFiller& pages, const PartMeasure& part, std::size_t index, double pageHeight) {
    const double total = totalHeight(part);
    const double opening =
        part.title + part.head + (part.rows.empty() ? part.after : part.rows.front());
    if (!pages.pageEmpty() && ((!pages.fits(total) && total <= pageHeight) || !pages.fits(opening)))
        pages.newPage();
    PageSlice slice{index, true, part.head > 0, 0, 0, false, pages.y()};
    pages.y() += part.title + part.head;
    for (std::size_t row = 0; row < part.rows.size(); ++row) {
        if (!pages.fits(part.rows[row]) && slice.endRow > slice.firstRow) {
            pages.set(slice);
            pages.newPage();
            slice = {index, false, part.head > 0, row, row, false, 0};
            pages.y() = part.head;
        }
        pages.y() += part.rows[row];
        slice.endRow = row + 1;
    }
    if (part.after > 0) {
        if (!pages.fits(part.after) && !pages.pageEmpty()) {
            pages.set(slice);
            pages.newPage();
            slice = {index, false, false, slice.endRow, slice.endRow, false, 0};
        }
        slice.after = true;
        pages.y() += part.after;
    }
    pages.set(slice);
}

}  // namespace

PagePlan planPages(const std::vector<PartMeasure>& parts, double pageHeight) {
    PageFiller pages(pageHeight);
    pages.newPage();
    for (std::size_t i = 0; i < parts.size(); ++i)
        placePart(pages, parts[i], i, pageHeight);
    return pages.take();
}

}  // namespace zelar
