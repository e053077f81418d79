// Labels: a painted rectangle that grows and shrinks with each new caption.
#include "platform/qt/QtLabelView.h"

#include <QFontMetrics>
#include <QPainter>

#include "platform/Controls.h"
#include "platform/qt/QtConvert.h"

namespace kestrune::qt {

QtLabelView::QtLabelView(TLabel& label, const QFont& font, const QColor& background, QWidget* parent)
    : QWidget(parent),
      label_(&label),
      background_(background),
      text_color_(ToQColor(label.Font.Color, Qt::black)),
      transparent_(label.Transparent),
      auto_size_(label.AutoSize) {
  setFont(font);
  setFocusPolicy(Qt::NoFocus);
  // Clicks and moves fall through to whatever lies below, as on a painted label.
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setGeometry(label.Left, label.Top, label.Width, label.Height);
  setVisible(label.Visible);
  label.SetPeer(this);
  Changed();
}

QtLabelView::~QtLabelView() {
  if (label_ != nullptr && label_->Peer() == this) label_->SetPeer(nullptr);
}

QString QtLabelView::Text() const { return label_ == nullptr ? QString() : ToQString(label_->Caption()); }

void QtLabelView::Changed() {
  if (auto_size_) {
    // An empty caption is measured as one space, so the label keeps a sliver
    // of its colour and its line height.
    const QString text = Text();
    const QFontMetrics metrics(font());
    const int width = metrics.horizontalAdvance(text.isEmpty() ? QStringLiteral(" ") : text);
    resize(width, metrics.height());
  }
  update();
}

void QtLabelView::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  if (!transparent_) painter.fillRect(rect(), background_);
  painter.setFont(font());
  painter.setPen(text_color_);
  painter.drawText(0, QFontMetrics(font()).ascent(), Text());
}

}  // namespace kestrune::qt
