// When a change that a cell of korvane's puzzle window reports is no change.
#pragma once

#include <string>

// A key that a cell's one-character limit refuses. The cell reports the limit
// (EN_MAXTEXT) and then, although its text stays the same, a change (Wine's edit
// control does, and Windows' does for an insertion truncated to nothing): that
// change is no change, while the key is handled. The cell's own digit typed over
// a selection is a real entry, so only an unchanged text is taken for the key's.
class RefusedKey {
public:
    // The cell reported the limit; text is what it holds.
    void Note(int id, std::string text);
    // Whether a change that cell id reports, holding text, is the refused key's
    // own. The watch of that cell ends with the first change it reports.
    bool IsNoChange(int id, const std::string& text);
    // The key has been handled to its end.
    void End();

private:
    int id_ = 0; // 0 when no cell is watched
    std::string text_;
};
