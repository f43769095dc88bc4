#include "RefusedKey.h"

#include <utility>

void RefusedKey::Note(int id, std::string text) {
    id_ = id;
    text_ = std::move(text);
}

bool RefusedKey::IsNoChange(int id, const std::string& text) {
    if (id_ == 0 || id != id_) {
        return false;
    }
    const bool unchanged = text == text_;
    End();
    return unchanged;
}

void RefusedKey::End() {
    id_ = 0;
    text_.clear();
}
