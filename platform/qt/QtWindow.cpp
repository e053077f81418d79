// The main window: fixed size, its client area below the menu bar.
#include "platform/qt/QtWindow.h"

#include <QCloseEvent>
#include <QImage>
#include <QLayout>
#include <QMenuBar>
#include <QPalette>
#include <QPixmap>
#include <QPlainTextEdit>

#include "platform/Application.h"
#include "platform/EmbeddedResource.h"
#include "platform/Form.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/QtImageView.h"
#include "platform/qt/QtLabelView.h"

namespace kestrune::qt {

namespace {

// Menu captions are plain text: no accelerator letters, so "&" means itself.
QString MenuText(const std::string& caption) { return ToQString(caption).replace('&', QStringLiteral("&&")); }

QAction* AddMenuAction(QWidget* menu, TMenuItem* item) {
  auto* action = new QAction(MenuText(item->Caption), menu);
  QObject::connect(action, &QAction::triggered, action, [item] { Application->Dispatch([item] { item->Click(); }); });
  menu->addAction(action);
  return action;
}

QPlainTextEdit* MakeMemo(const TMemo& memo, const QFont& font, const QColor& window_color, QWidget* parent) {
  auto* edit = new QPlainTextEdit(parent);
  edit->setGeometry(memo.Left, memo.Top, memo.Width, memo.Height);
  edit->setFont(font);
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Base, ToQColor(memo.Color, window_color));
  palette.setColor(QPalette::Text, ToQColor(memo.Font.Color, Qt::black));
  edit->setPalette(palette);
  edit->setLineWrapMode(memo.WordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QStringList lines;
  for (const std::string& line : memo.Lines) lines << ToQString(line);
  edit->setPlainText(lines.join('\n'));
  edit->setVisible(memo.Visible);
  return edit;
}

// The program's icon, if the build embedded one.
void SetIconFromResources(QWidget& window) {
  const auto bytes = FindEmbeddedResource("icon.bmp");
  if (!bytes) return;
  const QImage icon = QImage::fromData(bytes->data(), static_cast<int>(bytes->size()), "BMP");
  if (!icon.isNull()) window.setWindowIcon(QIcon(QPixmap::fromImage(icon)));
}

}  // namespace

QtWindow::QtWindow(TForm& form, QWidget* parent) : QMainWindow(parent), form_(form) {
  setWindowTitle(ToQString(form.Caption));
  SetIconFromResources(*this);

  // The menu stays in the window everywhere, so the client area is always below it.
  menuBar()->setNativeMenuBar(false);
  if (form.Menu != nullptr) BuildMenu(*form.Menu);

  auto* client = new QWidget(this);
  client->setFixedSize(form.ClientWidth, form.ClientHeight);
  QPalette palette = client->palette();
  palette.setColor(QPalette::Window, ToQColor(form.Color, palette.color(QPalette::Window)));
  client->setPalette(palette);
  client->setAutoFillBackground(true);
  setCentralWidget(client);
  BuildControls(client);

  // bsSingle and the others but bsSizeable: the window cannot be resized.
  if (form.BorderStyle != TFormBorderStyle::bsSizeable) layout()->setSizeConstraint(QLayout::SetFixedSize);
  move(form.Left, form.Top);
}

void QtWindow::BuildMenu(const TMainMenu& menu) {
  for (TMenuItem* item : menu.Items()) {
    if (item->Items().empty()) {
      // An item without a submenu acts at once from the bar itself.
      AddMenuAction(menuBar(), item);
      continue;
    }
    QMenu* submenu = menuBar()->addMenu(MenuText(item->Caption));
    for (TMenuItem* sub : item->Items()) {
      if (sub->Caption == "-")
        submenu->addSeparator();
      else
        AddMenuAction(submenu, sub);
    }
  }
}

void QtWindow::BuildControls(QWidget* client) {
  const QFont window_font = ToQFont(form_.Font);
  const QColor window_color = client->palette().color(QPalette::Window);
  QWidget* focus = nullptr;
  // Component order is stacking order: later controls lie on top.
  for (TComponent* component : form_.Components()) {
    if (auto* image = dynamic_cast<TImage*>(component)) {
      new QtImageView(*image, client);
    } else if (auto* label = dynamic_cast<TLabel*>(component)) {
      const QColor background = label->ParentColor ? window_color : ToQColor(label->Color, window_color);
      new QtLabelView(*label, label->ParentFont ? window_font : ToQFont(label->Font), background, client);
    } else if (auto* memo = dynamic_cast<TMemo*>(component)) {
      QPlainTextEdit* edit = MakeMemo(*memo, memo->ParentFont ? window_font : ToQFont(memo->Font), window_color, client);
      // The memo is the only control that takes the keyboard.
      if (focus == nullptr && memo->Visible) focus = edit;
    }
  }
  if (focus != nullptr) focus->setFocus();
}

void QtWindow::closeEvent(QCloseEvent* event) {
  // The close button is Close: for the main window it ends the program.
  Application->Dispatch([this] { form_.Close(); });
  event->accept();
}

}  // namespace kestrune::qt
