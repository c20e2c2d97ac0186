// The main window's command table: every menu item, palette control and status button by its object name, bound once.
#pragma once
#include "ui/Types.h"

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace app {

// The window declares each command once under its object name (New1, mnuUndo, imgLine, btnSuuti, ...);
// the program binds each exactly once. A second binding, or one for a name the window does not carry,
// is a programming error and throws, so no rule can quietly be replaced by another copy of itself.
class MainCommands {
public:
    using Command = std::function<void()>;

    void declare(const std::string& name) { handlers_.emplace(name, Command{}); }
    void bind(const std::string& name, Command handler) {
        const auto it = handlers_.find(name);
        if (it == handlers_.end()) throw std::logic_error("no command named " + name);
        if (it->second) throw std::logic_error("command bound twice: " + name);
        it->second = std::move(handler);
    }
    // The handler of a declared command; empty while unbound.
    const Command& handler(const std::string& name) const {
        static const Command none;
        const auto it = handlers_.find(name);
        return it == handlers_.end() ? none : it->second;
    }
    std::vector<std::string> unbound() const {
        std::vector<std::string> out;
        for (const auto& [name, handler] : handlers_) {
            if (!handler) out.push_back(name);
        }
        return out;
    }

    // The plan surface in plan pixels, the Escape key, the close query (true = may close) and a resize of the window.
    std::function<void(const ui::MouseEvent&)> mouseDown;
    std::function<void(const ui::MouseEvent&)> mouseMove;
    // The left button let go over the plan (ends a drag of the selection tool).
    std::function<void(const ui::MouseEvent&)> mouseUp;
    Command escapeKey;
    // An arrow key with a selection: the plan pixels to move it by.
    std::function<void(int dx, int dy)> nudge;
    std::function<bool()> closeQuery;
    Command resized;
    // A project chosen from "最近使ったファイル".
    std::function<void(const std::string&)> openRecent;

private:
    std::map<std::string, Command> handlers_;
};

} // namespace app
