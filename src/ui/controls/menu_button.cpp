#include "ui/controls/menu_button.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace trevanto {

MenuButton::MenuButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent), menu_(new QMenu(this)) {}

void MenuButton::AddItem(const QString& text, int32_t commandId) {
    QAction* action = menu_->addAction(text);
    connect(action, &QAction::triggered, this,
            [this, commandId] { emit CommandChosen(commandId); });
    hasItems_ = true;
}

void MenuButton::ShowMenu() {
    if (!hasItems_)
        return;
    setDown(true);
    menu_->exec(mapToGlobal(rect().bottomLeft()));
    setDown(false);
}

QSize MenuButton::sizeHint() const {
    // Room for the text and the drop-down part beside it.
    const QSize text = QPushButton::sizeHint();
    return {text.width() + kDropDownWidth, text.height()};
}

void MenuButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && event->position().x() >= width() - kDropDownWidth) {
        ShowMenu();
        return;
    }
    QPushButton::mousePressEvent(event);
}

void MenuButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    // The drop-down part: a separator and a small triangle of rows 7, 5, 3, 1.
    QPainter painter(this);
    const int left = width() - kDropDownWidth;
    const int top = height() / 2 - 2;
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(left, 4, left, height() - 5);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    for (int row = 0; row < 4; ++row)
        painter.drawLine(left + 4 + row, top + row, left + 10 - row, top + row);
}

}  // namespace trevanto
