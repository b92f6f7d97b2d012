#pragma once
// A push button with a drop-down part: a press on its right 16 pixels opens
// its menu under the button; the chosen item's command id is signalled.
#include <QPushButton>

#include <cstdint>

class QMenu;

namespace trevanto {

class MenuButton : public QPushButton {
    Q_OBJECT
  public:
    static constexpr int kDropDownWidth = 16;

    explicit MenuButton(const QString& text, QWidget* parent = nullptr);

    // Appends an item that signals `commandId` when chosen.
    void AddItem(const QString& text, int32_t commandId);
    bool HasItems() const { return hasItems_; }
    QMenu* Menu() const { return menu_; }
    // Opens the menu at the button's bottom-left corner, when it has items.
    void ShowMenu();
    QSize sizeHint() const override;

  signals:
    void CommandChosen(int32_t commandId);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    QMenu* menu_;
    bool hasItems_ = false;
};

}  // namespace trevanto
