#pragma once

#include <cstddef>
#include <vector>

namespace zelar {

// The heights of a part's pieces as set on paper, in the unit of the page's height.
struct PartMeasure {
    double title = 0;  // the title with its space above
    double head = 0;   // the heading row of a part in columns; 0 without one
    std::vector<double> rows;
    double after = 0;  // what stands under the rows (the chart, the note), kept together
};

// What of one part a page holds, and where it starts from the top of the page's text area.
struct PageSlice {
    std::size_t part = 0;
    bool title = false;  // only on the part's first page
    bool head = false;   // the heading row, repeated on every page the part's rows go on to
    std::size_t firstRow = 0;
    std::size_t endRow = 0;
    bool after = false;
    double top = 0;
};

using PagePlan = std::vector<std::vector<PageSlice>>;

// Puts the parts on pages of `pageHeight`, in order. No row is split between pages. A part that
// does not fit in what is left of a page but fits on a page of its own starts on the next page;
// a longer one starts where it is and goes on on the next pages, its heading row repeated. A
// title never stands alone at a page's foot: it keeps its heading row and first row with it.
PagePlan planPages(const std::vector<PartMeasure>& parts, double pageHeight);

}  // namespace zelar
