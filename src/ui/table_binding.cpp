#include "ui/table_binding.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QTableWidget>
#include <algorithm>

namespace zelar::ui {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

// Rows are chosen whole; the cells are only read. The rows are rebuilt only when the model's
// rows change, so that a choice the user made stays while the rest of the window is shown.
class TableBinding : public Binding {
  public:
    TableBinding(Binder& binder, QTableWidget& widget, Table& control)
        : Binding(binder, widget), widget_(widget), control_(control) {
        widget.setSelectionBehavior(QAbstractItemView::SelectRows);
        widget.setEditTriggers(QAbstractItemView::NoEditTriggers);
        widget.verticalHeader()->setVisible(false);
        widget.horizontalHeader()->setStretchLastSection(true);
        connect(&widget, &QTableWidget::itemSelectionChanged, this, [this] {
            const std::vector<int> chosen = selectedRows();
            if (chosen == control_.selected)
                return;
            control_.selected = chosen;
            changedByUser();
        });
    }
    void push() override {
        const QSignalBlocker block(widget_);
        pushCommon(control_);
        const auto mode = control_.multiSelect ? QAbstractItemView::ExtendedSelection
                                               : QAbstractItemView::SingleSelection;
        if (widget_.selectionMode() != mode)
            widget_.setSelectionMode(mode);
        if (shownHeaders_ != control_.headers || shownRows_ != control_.rows)
            rebuild();
        if (selectedRows() != control_.selected)
            select();
    }

  private:
    std::vector<int> selectedRows() const {
        std::vector<int> rows;
        for (const QModelIndex& index : widget_.selectionModel()->selectedRows())
            rows.push_back(index.row());
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    void rebuild() {
        widget_.clearContents();
        widget_.setColumnCount(static_cast<int>(control_.headers.size()));
        QStringList headers;
        for (const std::string& header : control_.headers)
            headers << qs(header);
        widget_.setHorizontalHeaderLabels(headers);
        widget_.setRowCount(static_cast<int>(control_.rows.size()));
        for (int r = 0; r < widget_.rowCount(); ++r) {
            const auto& row = control_.rows[static_cast<std::size_t>(r)];
            for (int c = 0; c < widget_.columnCount() && c < static_cast<int>(row.size()); ++c)
                widget_.setItem(r, c, new QTableWidgetItem(qs(row[static_cast<std::size_t>(c)])));
        }
        widget_.resizeColumnsToContents();
        shownHeaders_ = control_.headers;
        shownRows_ = control_.rows;
    }
    void select() {
        widget_.clearSelection();
        QItemSelection chosen;
        for (int row : control_.selected) {
            if (row >= 0 && row < widget_.rowCount())
                chosen.select(widget_.model()->index(row, 0),
                              widget_.model()->index(row, widget_.columnCount() - 1));
        }
        widget_.selectionModel()->select(chosen, QItemSelectionModel::Select);
        if (!control_.selected.empty() && control_.selected.front() < widget_.rowCount()) {
            const QModelIndex first = widget_.model()->index(control_.selected.front(), 0);
            widget_.selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
            widget_.scrollTo(first);
        }
    }

    QTableWidget& widget_;
    Table& control_;
    std::vector<std::string> shownHeaders_;
    std::vector<std::vector<std::string>> shownRows_;
};

}  // namespace

std::unique_ptr<Binding> tableBinding(Binder& binder, QTableWidget& widget, Table& control) {
    return std::make_unique<TableBinding>(binder, widget, control);
}

}  // namespace zelar::ui
