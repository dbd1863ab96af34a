#pragma once
#include <memory>
#include <vector>

#include "../event.h"
#include "control.h"

namespace platform {

// A menu item, or a menu that holds items. Top-level menus here are hidden
// holders that open only as popups.
class Menu : public Control {
public:
    Menu(std::string name, Control* container, int index, std::string caption, std::string shortcut = {})
        : Control(std::move(name), container), caption_(std::move(caption)), shortcut_(std::move(shortcut)) {
        setIndex(index);
    }
    const std::string& Caption() const { return caption_; }
    // The shortcut as shown beside the caption, "Ctrl+C".
    const std::string& Shortcut() const { return shortcut_; }
    bool IsSeparator() const { return caption_ == "-"; }

    // An item that can be ticked shows its box whether ticked or not.
    bool Checkable() const { return checkable_; }
    void setCheckable(bool c) { checkable_ = c; changed(); }
    bool Checked() const { return checked_; }
    void setChecked(bool c) { checked_ = c; changed(); }

    Menu& Add(std::unique_ptr<Menu> item) {
        items_.push_back(std::move(item));
        return *items_.back();
    }
    const std::vector<std::unique_ptr<Menu>>& Items() const { return items_; }
    // Items made for one opening of the menu go before the next.
    void ClearItems() { items_.clear(); }
    // A disabled item shows, greyed, and cannot be chosen.
    bool Enabled() const { return enabled_; }
    void setEnabled(bool e) { enabled_ = e; }
    // Shown when the pointer rests on the item, a disabled one included; empty shows nothing.
    const std::string& ToolTipText() const { return toolTip_; }
    void setToolTipText(std::string text) { toolTip_ = std::move(text); }

    Event<> Click;

private:
    std::string caption_, shortcut_, toolTip_;
    bool checkable_ = false, checked_ = false;
    bool enabled_ = true;
    std::vector<std::unique_ptr<Menu>> items_;
};

}  // namespace platform
