#include "ui/form_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "models/messages.h"
#include "ui/box_hints.h"
#include "ui/layouts.h"
#include "ui/picture_render.h"
#include "ui/translation.h"

namespace planova::ui {

namespace {

// The canvas of a window: it places the controls again whenever its size changes.
class ControlCanvas : public QWidget {
 public:
  using QWidget::QWidget;
  std::function<void()> Resized;

 protected:
  void resizeEvent(QResizeEvent*) override {
    if (Resized) Resized();
  }
};

// Panes show LF line ends; the models keep CR LF.
QString ToDisplay(const std::string& text) { return QString::fromStdString(text).replace("\r\n", "\n"); }
std::string FromDisplay(const QString& text) {
  QString t = text;
  t.replace("\n", "\r\n");
  return t.toStdString();
}

}  // namespace

FormWindow::FormWindow(FormModel& model, QWidget* parent) : QWidget(parent), model_(model) {
  setObjectName(QString::fromStdString(model.Name));
  setWindowTitle(Tr(model.Caption));
  const WindowLayout& layout = LayoutOf(model.Name);
  auto* canvas = new ControlCanvas;
  canvas_ = canvas;
  canvas_->setMinimumSize(layout.minWidth, layout.minHeight);
  scroller_ = new QScrollArea(this);
  scroller_->setFrameShape(QFrame::NoFrame);
  scroller_->setWidgetResizable(true);  // the canvas fills the window, never below its minimum
  scroller_->setWidget(canvas_);
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(0, 0, 0, 0);
  box->addWidget(scroller_);
  resize(layout.width, layout.height);

  std::map<std::string, QRect>& where = places_;
  for (const auto& p : layout.places) where[p.name] = QRect(p.x, p.y, p.w, p.h);

  // Frames first, so that the controls inside them lie on top.
  for (const auto& c : model.Controls()) {
    if (c.Kind != ControlKind::kFrame) continue;
    auto* g = new QGroupBox(Tr(c.Caption), canvas_);
    widgets_[c.Name] = g;
  }
  for (const auto& c : model.Controls()) {
    const std::string name = c.Name;
    QWidget* w = nullptr;
    switch (c.Kind) {
      case ControlKind::kText: {
        bool multiline = where.count(name) && where[name].height() > 40;
        if (multiline) {
          auto* e = new QPlainTextEdit(canvas_);
          // A multi-line box with a vertical scroll bar: long lines wrap at word boundaries.
          e->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
          e->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
          e->setLineWrapMode(QPlainTextEdit::WidgetWidth);
          connect(e, &QPlainTextEdit::textChanged, this, [this, name, e] { model_.WriteControl(name, FromDisplay(e->toPlainText())); });
          w = e;
        } else {
          auto* e = new QLineEdit(canvas_);
          connect(e, &QLineEdit::textEdited, this, [this, name](const QString& t) { model_.WriteControl(name, t.toStdString()); });
          w = e;
        }
        break;
      }
      case ControlKind::kRichText: {
        auto* e = new QPlainTextEdit(canvas_);
        e->setLineWrapMode(QPlainTextEdit::NoWrap);
        QFont mono("DejaVu Sans Mono");
        mono.setStyleHint(QFont::Monospace);
        e->setFont(mono);
        connect(e, &QPlainTextEdit::textChanged, this, [this, name, e] { model_.WriteControl(name, FromDisplay(e->toPlainText())); });
        w = e;
        break;
      }
      case ControlKind::kLabel:
        w = new QLabel(canvas_);
        break;
      case ControlKind::kOption: {
        auto* r = new QRadioButton(Tr(c.Caption), canvas_);
        r->setAutoExclusive(false);
        connect(r, &QRadioButton::clicked, this, [this, name](bool on) {
          model_.WriteControl(name, on ? "1" : "0");
          Refresh();
        });
        w = r;
        break;
      }
      case ControlKind::kCheck: {
        auto* b = new QCheckBox(Tr(c.Caption), canvas_);
        connect(b, &QCheckBox::clicked, this, [this, name](bool on) {
          model_.WriteControl(name, on ? "1" : "0");
          Refresh();  // a check may hold others (CheckHeld)
        });
        w = b;
        break;
      }
      case ControlKind::kCombo: {
        auto* b = new QComboBox(canvas_);
        connect(b, &QComboBox::activated, this, [this, name, b](int index) {
          model_.WriteControl(name, b->itemText(index).toStdString());
          Refresh();
        });
        w = b;
        break;
      }
      case ControlKind::kProgress: {
        auto* p = new QProgressBar(canvas_);
        p->setRange(0, 100);
        w = p;
        break;
      }
      case ControlKind::kPicture: {
        auto* picture = new PictureWidget(*static_cast<PictureBox*>(c.Target), canvas_);
        picture->AfterClick = [this] { Refresh(); };
        // Saved pictures go beside the run's files, in the application folder's Dat.
        picture->SaveFolder = QString::fromStdString((model_.Ui().AppFolder() / "Dat").string());
        picture->SaveFailed = [this](const QString& path) {
          model_.Ui().ShowMessage(WriteFailureMessage(std::filesystem::path(path.toStdString())));
        };
        w = picture;
        break;
      }
      case ControlKind::kButton: {
        // The Alt letter lives in the widget's text only; the model's caption stays as it is.
        auto* b = new QPushButton(WithMnemonic(model.Name, name, Tr(c.Caption), CurrentLanguage() == Language::kEnglish), canvas_);
        auto press = c.Press;
        connect(b, &QPushButton::clicked, this, [this, press] {
          press();
          Refresh();
        });
        w = b;
        break;
      }
      case ControlKind::kFrame:
        w = widgets_[name];
        break;
    }
    w->setObjectName(QString::fromStdString(name));
    widgets_[name] = w;
    if (where.count(name)) {
      w->setGeometry(where[name]);
      // A label given two lines' height (a status line) wraps its text instead of cutting it.
      if (auto* label = qobject_cast<QLabel*>(w); label && where[name].height() >= 36) {
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      }
    } else {
      w->hide();  // a control this window's layout does not place yet
    }
  }
  AddKeyboardAndTips();
  canvas->Resized = [this] { PlaceControls(); };
  Refresh();
}

void FormWindow::AddKeyboardAndTips() {
  const std::string& form = model_.Name;
  for (const auto& c : model_.Controls()) {
    QWidget* w = Widget(c.Name);
    if (!w) continue;
    if (const char* tip = TipOf(form, c.Name)) w->setToolTip(Tr(tip));
    if (FilledByProgram(form, c.Name)) w->setFocusPolicy(Qt::ClickFocus);
    auto* e = qobject_cast<QLineEdit*>(w);
    if (!e) continue;
    if (const char* button = EnterButtonOf(form, c.Name)) {
      const std::string pressed = button;
      connect(e, &QLineEdit::returnPressed, this, [this, pressed] {
        if (auto* b = qobject_cast<QAbstractButton*>(Widget(pressed))) b->click();
      });
    }
  }
  // Tab goes as the layout's table reads: down the window row by row, a frame's options
  // after it.
  QWidget* previous = nullptr;
  for (const auto& p : LayoutOf(form).places) {
    QWidget* w = Widget(p.name);
    if (!w || !(w->focusPolicy() & Qt::TabFocus)) continue;
    if (previous) setTabOrder(previous, w);
    previous = w;
  }
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && model_.Name == "Form3") {
    if (auto* close = qobject_cast<QAbstractButton*>(Widget("Command1"))) {
      close->click();
      return;
    }
  }
  QWidget::keyPressEvent(event);
}

void FormWindow::PlaceControls() {
  const WindowLayout& layout = LayoutOf(model_.Name);
  for (const auto& p : layout.places) {
    places_[p.name] = PlaceIn(layout, p, canvas_->size());
    if (QWidget* w = Widget(p.name)) w->setGeometry(places_[p.name]);
  }
  for (const auto& c : model_.Controls()) {
    if (c.Kind == ControlKind::kPicture) PlacePicture(c, Widget(c.Name));
  }
}

void FormWindow::FitInto(const QRect& available) {
  const WindowLayout& layout = LayoutOf(model_.Name);
  QSize opening = OpeningSize(layout, available);
  // A canvas taller than the window scrolls: the window is made wider by the scroll bar,
  // where the screen has room, so that the canvas needs no horizontal one as well.
  if (opening.height() < layout.minHeight) {
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroller_);
    opening.setWidth(std::min(opening.width() + bar + 2, std::max(opening.width(), available.width() - 16)));
  }
  resize(opening);
  if (!available.contains(QRect(pos(), size()))) move(available.topLeft());
}

void FormWindow::RestorePlace(const QByteArray& place) {
  if (restoreGeometry(place)) fitted_ = true;
}

void FormWindow::setVisible(bool visible) {
  if (visible && !fitted_ && !isVisible()) {
    fitted_ = true;
    if (QScreen* s = screen()) FitInto(s->availableGeometry());
  }
  QWidget::setVisible(visible);
}

QWidget* FormWindow::Widget(const std::string& name) const {
  auto it = widgets_.find(name);
  return it == widgets_.end() ? nullptr : it->second;
}

void FormWindow::Refresh() {
  for (const auto& c : model_.Controls()) {
    QWidget* w = Widget(c.Name);
    if (!w) continue;
    QSignalBlocker block(w);
    switch (c.Kind) {
      case ControlKind::kText:
      case ControlKind::kRichText: {
        const std::string& text =
            c.Kind == ControlKind::kText ? static_cast<TextBox*>(c.Target)->Text : static_cast<RichTextBox*>(c.Target)->Text;
        if (auto* e = qobject_cast<QLineEdit*>(w)) {
          QString t = QString::fromStdString(text);
          if (e->text() != t) {
            e->setText(t);
            // A long number is read from its first digits, as a user expects.
            if (!e->hasFocus()) e->setCursorPosition(0);
          }
        } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
          QString t = ShownText(c, text);
          if (p->toPlainText() != t) p->setPlainText(t);
        }
        break;
      }
      case ControlKind::kLabel:
        static_cast<QLabel*>(w)->setText(Tr(static_cast<Label*>(c.Target)->Caption));
        break;
      case ControlKind::kOption:
        static_cast<QRadioButton*>(w)->setChecked(static_cast<OptionButton*>(c.Target)->Value);
        break;
      case ControlKind::kCheck: {
        const bool held = model_.CheckHeld(c.Name);
        static_cast<QCheckBox*>(w)->setChecked(held || static_cast<CheckBox*>(c.Target)->Value);
        w->setEnabled(!held);
        break;
      }
      case ControlKind::kCombo: {
        // The names are the files' own (DE405, DE440 …): shown as they are.
        const auto* box = static_cast<ComboBox*>(c.Target);
        auto* b = static_cast<QComboBox*>(w);
        QStringList items;
        for (const std::string& item : box->Items) items << QString::fromStdString(item);
        QStringList shown;
        for (int k = 0; k < b->count(); ++k) shown << b->itemText(k);
        if (shown != items) {
          b->clear();
          b->addItems(items);
        }
        b->setCurrentIndex(b->findText(QString::fromStdString(box->Value)));
        break;
      }
      case ControlKind::kProgress:
        static_cast<QProgressBar*>(w)->setValue(static_cast<ProgressBar*>(c.Target)->Value);
        break;
      case ControlKind::kPicture:
        PlacePicture(c, w);
        w->update();
        break;
      default:
        break;
    }
  }
  setWindowTitle(Tr(model_.Caption));
}

// A pane shows the lines of files with the program's own phrases translated; the help
// window's text is the program's own and translated whole.  The last text formed is
// kept, so that a refresh during a long run does not translate a large pane again.
QString FormWindow::ShownText(const ControlEntry& c, const std::string& text) {
  if (CurrentLanguage() == Language::kRussian) return ToDisplay(text);
  auto& [source, shown] = shown_[c.Name];
  if (source != text || shown.isNull()) {
    source = text;
    const bool helpText = model_.Name == "Form3" && c.Name == "Text1";
    shown = (helpText ? Tr(text) : c.Kind == ControlKind::kRichText ? TrPane(text) : QString::fromStdString(text))
                .replace("\r\n", "\n");
  }
  return shown;
}

void FormWindow::PlacePicture(const ControlEntry& c, QWidget* w) {
  // The window makes the box small to move it out of the way; at full size it takes the
  // place its layout gives it at the window's present size.
  const auto* box = static_cast<PictureBox*>(c.Target);
  auto it = places_.find(c.Name);
  if (!w || it == places_.end()) return;
  QRect full = it->second;
  if (box->WidthTwips > 0 && box->WidthTwips < 1000) {
    QSize small(std::max(1, box->WidthTwips / 15), std::max(1, box->HeightTwips / 15));
    w->setGeometry(QRect(full.bottomRight() - QPoint(small.width(), small.height()), small));
  } else {
    w->setGeometry(full);
  }
}

void FormWindow::closeEvent(QCloseEvent* event) {
  if (!closingFromModel && OnUserClose) {
    event->ignore();
    OnUserClose();
    return;
  }
  event->accept();
}

}  // namespace planova::ui
