// How each kind of model control is shown in its widget and read back from it.
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <algorithm>
#include <stdexcept>

#include "ui/binder.h"
#include "ui/level_chart_widget.h"
#include "ui/mnemonic.h"
#include "ui/table_binding.h"

namespace zelar::ui {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

QTabWidget& tabWidgetOf(QWidget& page) {
    for (QWidget* w = page.parentWidget(); w != nullptr; w = w->parentWidget()) {
        if (auto* tabs = qobject_cast<QTabWidget*>(w))
            return *tabs;
    }
    throw std::logic_error("page " + page.objectName().toStdString() + " is not in a page control");
}

class EditBinding : public Binding {
  public:
    EditBinding(Binder& binder, QLineEdit& widget, Edit& control)
        : Binding(binder, widget), widget_(widget), control_(control) {
        connect(&widget, &QLineEdit::textEdited, this, [this](const QString& text) {
            control_.text = text.toStdString();
            changedByUser();
        });
        if (!control.accepts.empty())
            onKey([this](char32_t key) { return acceptsKey(control_, key); });
    }
    void push() override {
        const QSignalBlocker block(widget_);
        pushCommon(control_);
        const QString text = qs(control_.text);
        // The limit stops typing only; a longer text set by the program is shown whole.
        const int limit = control_.maxLength > 0 ? control_.maxLength : 32767;
        const int maxLength = std::max(limit, static_cast<int>(text.size()));
        if (widget_.maxLength() != maxLength)
            widget_.setMaxLength(maxLength);
        if (widget_.text() != text)
            widget_.setText(text);
        widget_.setReadOnly(control_.readOnly);
    }

  private:
    QLineEdit& widget_;
    Edit& control_;
};

// A label whose form gives it the property "elideMiddle" shows a text too long for it with
// "…" in the middle, so that both ends (a path's folder and its file name) stay in view.
class LabelBinding : public Binding {
  public:
    LabelBinding(Binder& binder, QLabel& widget, Label& control)
        : Binding(binder, widget),
          widget_(widget),
          control_(control),
          elide_(widget.property("elideMiddle").toBool()) {
        if (elide_)
            widget.installEventFilter(this);
    }
    void push() override {
        pushCommon(control_);
        text_ = qs(control_.caption);
        showText();
        if (widget_.toolTip() != qs(control_.hint))
            widget_.setToolTip(qs(control_.hint));
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (elide_ && watched == &widget_ && event->type() == QEvent::Resize)
            showText();
        return Binding::eventFilter(watched, event);
    }

  private:
    void showText() {
        const QString shown = elide_ ? widget_.fontMetrics().elidedText(
                                           text_, Qt::ElideMiddle, widget_.contentsRect().width())
                                     : text_;
        if (widget_.text() != shown)
            widget_.setText(shown);
    }

    QLabel& widget_;
    Label& control_;
    bool elide_;
    QString text_;
};

// A menu entry: the window is its widget, for the handler's window; the entry's text, with its
// mnemonic, is the form's.
class ActionBinding : public Binding {
  public:
    ActionBinding(Binder& binder, QWidget& window, QAction& action, Button& control)
        : Binding(binder, window), action_(action), control_(control) {
        connect(&action, &QAction::triggered, this, [this] { changedByUser(); });
    }
    void push() override {
        const bool enabled = control_.enabled && !looksBusy();
        if (action_.isEnabled() != enabled)
            action_.setEnabled(enabled);
        if (action_.isVisible() != control_.visible)
            action_.setVisible(control_.visible);
    }
    QString name() const override { return action_.objectName(); }

  private:
    QAction& action_;
    Button& control_;
};

// A menu entry with a check mark: the model follows the mark, the action runs on the user's
// choice.
class CheckableActionBinding : public Binding {
  public:
    CheckableActionBinding(Binder& binder, QWidget& window, QAction& action, CheckBox& control)
        : Binding(binder, window), action_(action), control_(control) {
        action.setCheckable(true);
        connect(&action, &QAction::triggered, this, [this](bool checked) {
            control_.checked = checked;
            changedByUser();
        });
    }
    void push() override {
        const QSignalBlocker block(action_);
        const bool enabled = control_.enabled && !looksBusy();
        if (action_.isEnabled() != enabled)
            action_.setEnabled(enabled);
        if (action_.isVisible() != control_.visible)
            action_.setVisible(control_.visible);
        if (action_.isChecked() != control_.checked)
            action_.setChecked(control_.checked);
    }
    QString name() const override { return action_.objectName(); }

  private:
    QAction& action_;
    CheckBox& control_;
};

class CaptionBinding : public Binding {
  public:
    CaptionBinding(Binder& binder, QWidget& window, const std::string& caption)
        : Binding(binder, window), window_(window), caption_(caption) {}
    void push() override {
        const QString shown = qs(caption_);
        if (window_.windowTitle() != shown)
            window_.setWindowTitle(shown);
    }
    QString name() const override { return {}; }

  private:
    QWidget& window_;
    const std::string& caption_;
};

class ButtonBinding : public Binding {
  public:
    ButtonBinding(Binder& binder, QAbstractButton& widget, Button& control)
        : Binding(binder, widget), widget_(widget), control_(control), mnemonic_(widget.text()) {
        connect(&widget, &QAbstractButton::clicked, this, [this] { changedByUser(); });
    }
    void push() override {
        const QSignalBlocker block(widget_);
        pushCommon(control_);
        widget_.setText(mnemonic_.apply(qs(control_.caption)));
    }

  private:
    QAbstractButton& widget_;
    Button& control_;
    Mnemonic mnemonic_;
};

// Check boxes and radio buttons. The model follows every toggle, also the one a radio button
// gets when a sibling is picked; the action runs on the user's click only.
template <class Control>
class CheckableBinding : public Binding {
  public:
    CheckableBinding(Binder& binder, QAbstractButton& widget, Control& control)
        : Binding(binder, widget), widget_(widget), control_(control), mnemonic_(widget.text()) {
        connect(&widget, &QAbstractButton::toggled, this,
                [this](bool checked) { control_.checked = checked; });
        connect(&widget, &QAbstractButton::clicked, this, [this] { changedByUser(); });
    }
    void push() override {
        const QSignalBlocker block(widget_);
        pushCommon(control_);
        widget_.setText(mnemonic_.apply(qs(control_.caption)));
        if (widget_.isChecked() != control_.checked) {
            // An exclusive radio button cannot be unchecked directly.
            const bool exclusive = widget_.autoExclusive();
            widget_.setAutoExclusive(false);
            widget_.setChecked(control_.checked);
            widget_.setAutoExclusive(exclusive);
        }
    }

  private:
    QAbstractButton& widget_;
    Control& control_;
    Mnemonic mnemonic_;
};

// A pick-only list. A text that is no item ("???") is shown as the placeholder of an empty
// selection, drawn in the normal text colour so it reads like a value.
class ComboBinding : public Binding {
  public:
    ComboBinding(Binder& binder, QComboBox& widget, ComboBox& control)
        : Binding(binder, widget), widget_(widget), control_(control) {
        QPalette palette = widget.palette();
        for (auto group : {QPalette::Active, QPalette::Inactive})
            palette.setColor(group, QPalette::PlaceholderText,
                             palette.color(group, QPalette::Text));
        widget.setPalette(palette);
        connect(&widget, &QComboBox::activated, this, [this](int index) {
            selectItem(control_, index);
            changedByUser();
        });
    }
    void push() override {
        const QSignalBlocker block(widget_);
        pushCommon(control_);
        if (shownItems_ != control_.items) {
            widget_.clear();
            for (const std::string& item : control_.items)
                widget_.addItem(qs(item));
            shownItems_ = control_.items;
        }
        for (int i = 0; i < widget_.count(); ++i) {
            const auto k = static_cast<std::size_t>(i);
            const bool labelled = k < control_.itemLabels.size() && !control_.itemLabels[k].empty();
            const QString label = qs(labelled ? control_.itemLabels[k] : control_.items[k]);
            if (widget_.itemText(i) != label)
                widget_.setItemText(i, label);
            const QString hint =
                k < control_.itemHints.size() ? qs(control_.itemHints[k]) : QString();
            if (widget_.itemData(i, Qt::ToolTipRole).toString() != hint)
                widget_.setItemData(i, hint, Qt::ToolTipRole);
        }
        const int count = static_cast<int>(control_.items.size());
        const int index =
            control_.itemIndex >= 0 && control_.itemIndex < count ? control_.itemIndex : -1;
        if (widget_.currentIndex() != index)
            widget_.setCurrentIndex(index);
        const QString placeholder = index < 0 ? qs(control_.text) : QString();
        if (widget_.placeholderText() != placeholder)
            widget_.setPlaceholderText(placeholder);
    }

  private:
    QComboBox& widget_;
    ComboBox& control_;
    std::vector<std::string> shownItems_;
};

// A group of controls: a group box shows the caption as its title, any other holder on the
// label named "<panel>Caption" inside it, if there is one. A panel that paints its own
// background (the signal bars) shows `lit` as its colour.
class PanelBinding : public Binding {
  public:
    PanelBinding(Binder& binder, QWidget& widget, Panel& control)
        : Binding(binder, widget),
          widget_(widget),
          control_(control),
          box_(qobject_cast<QGroupBox*>(&widget)),
          caption_(widget.findChild<QLabel*>(widget.objectName() + "Caption")),
          mnemonic_(box_ != nullptr ? box_->title() : QString()) {}
    void push() override {
        if (control_.captionOnly) {
            // The holder stays enabled, so that each control in it shows its own state.
            pushVisible(control_.visible);
            greyCaption(!control_.enabled);
        } else {
            pushCommon(control_);
        }
        if (box_ != nullptr)
            box_->setTitle(mnemonic_.apply(qs(control_.caption)));
        else if (caption_ != nullptr && !control_.caption.empty())
            caption_->setText(qs(control_.caption));
        if (widget_.autoFillBackground())
            pushColour();
    }

  private:
    void greyCaption(bool grey) {
        if (caption_ != nullptr && caption_->isEnabled() == grey)
            caption_->setEnabled(!grey);
        if (box_ == nullptr || greyTitle_ == grey)
            return;
        // A group box has no way to grey its title alone but a style rule for the title.
        const QString colour =
            box_->palette().color(QPalette::Disabled, QPalette::WindowText).name();
        box_->setStyleSheet(grey ? "QGroupBox::title { color: " + colour + "; }" : QString());
        greyTitle_ = grey;
    }

    void pushColour() {
        const QColor colour =
            control_.lit ? QColor(0, 128, 0) : widget_.palette().color(QPalette::Button);
        if (widget_.palette().color(QPalette::Window) == colour)
            return;
        QPalette palette = widget_.palette();
        palette.setColor(QPalette::Window, colour);
        widget_.setPalette(palette);
    }

    QWidget& widget_;
    Panel& control_;
    QGroupBox* box_;
    QLabel* caption_;
    Mnemonic mnemonic_;
    bool greyTitle_ = false;
};

class TabSheetBinding : public Binding {
  public:
    TabSheetBinding(Binder& binder, QWidget& page, TabSheet& control)
        : Binding(binder, page), page_(page), tabs_(tabWidgetOf(page)), control_(control) {}
    void push() override {
        // Hiding the tab on view moves the page control on; that is no choice of the user.
        const QSignalBlocker block(tabs_);
        const int index = tabs_.indexOf(&page_);
        tabs_.setTabText(index, qs(control_.caption));
        const bool shown = control_.tabVisible && control_.enabled;
        if (!shown)
            focus().takeAway(page_);
        if (tabs_.isTabVisible(index) != control_.tabVisible)
            tabs_.setTabVisible(index, control_.tabVisible);
        tabs_.setTabEnabled(index, control_.enabled);
        if (shown)
            focus().giveBack(page_);
    }

  private:
    QWidget& page_;
    QTabWidget& tabs_;
    TabSheet& control_;
};

class ActivePageBinding : public Binding {
  public:
    ActivePageBinding(Binder& binder, QTabWidget& tabs, Page& active)
        : Binding(binder, tabs),
          tabs_(tabs),
          active_(active),
          pages_(tabs.findChild<QStackedWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        connect(&tabs, &QTabWidget::currentChanged, this, [this](int index) {
            if (index >= 0 && index < kPageCount)
                active_ = static_cast<Page>(index);
            changedByUser();
        });
    }
    void push() override {
        const QSignalBlocker block(tabs_);
        const int index = static_cast<int>(active_);
        if (index < tabs_.count() && tabs_.isTabVisible(index) && tabs_.currentIndex() != index)
            tabs_.setCurrentIndex(index);
        // With every tab hidden no page is on view.
        bool anyVisible = false;
        for (int i = 0; i < tabs_.count(); ++i)
            anyVisible = anyVisible || tabs_.isTabVisible(i);
        if (pages_ != nullptr && pages_->isHidden() == anyVisible)
            pages_->setVisible(anyVisible);
        // The caption-less start page is no stop on the way through the window with Tab.
        bool named = false;
        for (int i = 0; i < tabs_.count(); ++i)
            named = named || (tabs_.isTabVisible(i) && !tabs_.tabText(i).trimmed().isEmpty());
        const Qt::FocusPolicy policy = named ? Qt::TabFocus : Qt::NoFocus;
        if (tabs_.tabBar()->focusPolicy() != policy) {
            if (!named)
                focus().takeAway(*tabs_.tabBar());
            tabs_.tabBar()->setFocusPolicy(policy);
        }
    }

  private:
    QTabWidget& tabs_;
    Page& active_;
    QStackedWidget* pages_;
};

class ProgressBinding : public Binding {
  public:
    // Every bar looks the same: no percentage, and a groove in the window's colour, which
    // an idle bar does not make look like an empty text field.
    ProgressBinding(Binder& binder, QProgressBar& widget, ProgressBar& control)
        : Binding(binder, widget), widget_(widget), control_(control) {
        widget.setTextVisible(false);
        QPalette palette = widget.palette();
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            palette.setColor(group, QPalette::Base, palette.color(group, QPalette::Window));
        widget.setPalette(palette);
    }
    void push() override {
        pushCommon(control_);
        if (widget_.minimum() != control_.min || widget_.maximum() != control_.max)
            widget_.setRange(control_.min, control_.max);
        if (widget_.value() != control_.position)
            widget_.setValue(control_.position);
    }

  private:
    QProgressBar& widget_;
    ProgressBar& control_;
};

// The nodes are rebuilt only when the model's nodes change; selection is by absolute index.
class TreeBinding : public Binding {
  public:
    TreeBinding(Binder& binder, QTreeWidget& widget, TreeView& control)
        : Binding(binder, widget), widget_(widget), control_(control) {
        // Focus alone makes a node current without selecting it; only a selection counts.
        connect(&widget, &QTreeWidget::itemSelectionChanged, this, [this] {
            const auto selected = widget_.selectedItems();
            if (selected.isEmpty())
                return;
            const auto it = std::find(items_.begin(), items_.end(), selected.first());
            if (it == items_.end())
                return;
            control_.selected = static_cast<int>(it - items_.begin());
            changedByUser();
        });
    }
    void push() override {
        const QSignalBlocker block(widget_);
        pushCommon(control_);
        if (!sameNodes())
            rebuild();
        const int count = static_cast<int>(items_.size());
        QTreeWidgetItem* want = control_.selected >= 0 && control_.selected < count
                                    ? items_[static_cast<std::size_t>(control_.selected)]
                                    : nullptr;
        if (want == nullptr)
            widget_.clearSelection();
        else if (widget_.currentItem() != want || !want->isSelected())
            widget_.setCurrentItem(want);
    }

  private:
    bool sameNodes() const {
        if (shownNodes_.size() != control_.nodes.size())
            return false;
        for (std::size_t i = 0; i < shownNodes_.size(); ++i) {
            if (shownNodes_[i].text != control_.nodes[i].text ||
                shownNodes_[i].parent != control_.nodes[i].parent)
                return false;
        }
        return true;
    }
    void rebuild() {
        widget_.clear();
        items_.clear();
        for (const TreeNode& node : control_.nodes) {
            const int parent = node.parent;
            // Nodes come parents first; a parent index that breaks that makes a root node.
            QTreeWidgetItem* item =
                parent >= 0 && parent < static_cast<int>(items_.size())
                    ? new QTreeWidgetItem(items_[static_cast<std::size_t>(parent)])
                    : new QTreeWidgetItem(&widget_);
            item->setText(0, qs(node.text));
            items_.push_back(item);
        }
        widget_.expandAll();
        shownNodes_ = control_.nodes;
    }

    QTreeWidget& widget_;
    TreeView& control_;
    std::vector<TreeNode> shownNodes_;
    std::vector<QTreeWidgetItem*> items_;
};

class StatusBinding : public Binding {
  public:
    StatusBinding(Binder& binder, QStatusBar& widget, StatusBar& control)
        : Binding(binder, widget), widget_(widget), control_(control), text_(new QLabel(&widget)) {
        widget.addWidget(text_, 1);
    }
    void push() override {
        pushCommon(control_);
        text_->setText(qs(control_.text));
    }

  private:
    QStatusBar& widget_;
    StatusBar& control_;
    QLabel* text_;
};

class MemoBinding : public Binding {
  public:
    MemoBinding(Binder& binder, QPlainTextEdit& widget, Memo& control)
        : Binding(binder, widget), widget_(widget), control_(control) {
        connect(&widget, &QPlainTextEdit::textChanged, this, [this] {
            control_.text = widget_.toPlainText().toStdString();
            changedByUser();
        });
    }
    void push() override {
        const QSignalBlocker block(widget_);
        pushCommon(control_);
        const QString text = qs(control_.text);
        if (widget_.toPlainText() != text)
            widget_.setPlainText(text);
        widget_.setReadOnly(control_.readOnly);
    }

  private:
    QPlainTextEdit& widget_;
    Memo& control_;
};

// A chart painted from its model.
class LevelChartBinding : public Binding {
  public:
    LevelChartBinding(Binder& binder, LevelChartWidget& widget, LevelChart& control)
        : Binding(binder, widget), widget_(widget), control_(control) {}
    void push() override {
        pushCommon(control_);
        widget_.setChart(control_);
    }

  private:
    LevelChartWidget& widget_;
    LevelChart& control_;
};

}  // namespace

template <class W>
W& Binder::find(QWidget& root, const char* name) {
    W* widget = root.objectName() == QLatin1String(name) ? qobject_cast<W*>(&root)
                                                         : root.findChild<W*>(QLatin1String(name));
    if (widget == nullptr) {
        throw std::logic_error(std::string("window ") + root.objectName().toStdString() +
                               " has no " + W::staticMetaObject.className() + " named " + name);
    }
    return *widget;
}

Binding& Binder::bind(QWidget& root, const char* name, Edit& control) {
    return add(std::make_unique<EditBinding>(*this, find<QLineEdit>(root, name), control));
}

Binding& Binder::bind(QWidget& root, const char* name, Label& control) {
    return add(std::make_unique<LabelBinding>(*this, find<QLabel>(root, name), control));
}

Binding& Binder::bind(QWidget& root, const char* name, Button& control) {
    if (auto* action = root.findChild<QAction*>(QLatin1String(name)))
        return add(std::make_unique<ActionBinding>(*this, *root.window(), *action, control));
    return add(std::make_unique<ButtonBinding>(*this, find<QAbstractButton>(root, name), control));
}

Binding& Binder::bind(QWidget& root, const char* name, CheckBox& control) {
    if (auto* action = root.findChild<QAction*>(QLatin1String(name)))
        return add(
            std::make_unique<CheckableActionBinding>(*this, *root.window(), *action, control));
    return add(std::make_unique<CheckableBinding<CheckBox>>(
        *this, find<QAbstractButton>(root, name), control));
}

Binding& Binder::bind(QWidget& root, const char* name, RadioButton& control) {
    return add(std::make_unique<CheckableBinding<RadioButton>>(
        *this, find<QAbstractButton>(root, name), control));
}

Binding& Binder::bind(QWidget& root, const char* name, ComboBox& control) {
    return add(std::make_unique<ComboBinding>(*this, find<QComboBox>(root, name), control));
}

Binding& Binder::bind(QWidget& root, const char* name, Panel& control) {
    return add(std::make_unique<PanelBinding>(*this, find<QWidget>(root, name), control));
}

Binding& Binder::bind(QWidget& root, const char* name, LevelChart& control) {
    return add(
        std::make_unique<LevelChartBinding>(*this, find<LevelChartWidget>(root, name), control));
}

Binding& Binder::bind(QWidget& root, const char* name, TabSheet& control) {
    return add(std::make_unique<TabSheetBinding>(*this, find<QWidget>(root, name), control));
}

Binding& Binder::bind(QWidget& root, const char* name, ProgressBar& control) {
    return add(std::make_unique<ProgressBinding>(*this, find<QProgressBar>(root, name), control));
}

Binding& Binder::bind(QWidget& root, const char* name, TreeView& control) {
    return add(std::make_unique<TreeBinding>(*this, find<QTreeWidget>(root, name), control));
}

Binding& Binder::bind(QWidget& root, const char* name, Table& control) {
    return add(tableBinding(*this, find<QTableWidget>(root, name), control));
}

Binding& Binder::bind(QWidget& root, const char* name, StatusBar& control) {
    return add(std::make_unique<StatusBinding>(*this, find<QStatusBar>(root, name), control));
}

Binding& Binder::bind(QWidget& root, const char* name, Memo& control) {
    return add(std::make_unique<MemoBinding>(*this, find<QPlainTextEdit>(root, name), control));
}

Binding& Binder::bindCaption(QWidget& window, const std::string& caption) {
    return add(std::make_unique<CaptionBinding>(*this, window, caption));
}

Binding& Binder::bindActivePage(QWidget& root, const char* name, Page& active) {
    return add(std::make_unique<ActivePageBinding>(*this, find<QTabWidget>(root, name), active));
}

}  // namespace zelar::ui
