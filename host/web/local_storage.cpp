// SPDX-License-Identifier: Zlib
// The state string in the browser's localStorage, under one key of the
// page's origin, as the UTF-16 text it is. Whatever the key holds is handed
// to the game as it stands: the game's checksums decide what it keeps.
#include <emscripten.h>

#include <vector>

#include "host/web/web_game.h"

namespace {

// Shared by every page of the origin, so it names the game.
#define KR_STATE_KEY "vornhelm.state"

}  // namespace

// 0 once stored; -1 when the page may not use localStorage (storage
// switched off, a sandboxed frame); -2 when the browser refused the value
// (its quota is full).
int KrWebGame::WriteState(String state) {
    const int result = EM_ASM_INT({
        var text = "";
        for (var i = 0; i < $1; i++) text += String.fromCharCode(HEAPU16[($0 >> 1) + i]);
        var storage;
        try { storage = window.localStorage; } catch (e) { return -1; }
        if (!storage) return -1;
        try { storage.setItem(UTF8ToString($2), text); } catch (e) { return -2; }
        return 0;
    }, state.Data(), state.Length(), KR_STATE_KEY);
    // The page tells the player, once, that nothing is kept.
    if (result != 0) EM_ASM({ if (Module.onSaveFailed) Module.onSaveFailed($0); }, result);
    return result;
}

// The empty string when nothing is stored or storage cannot be read.
String KrWebGame::ReadState() {
    const int length = EM_ASM_INT({
        try {
            var text = window.localStorage.getItem(UTF8ToString($0));
            return text === null ? 0 : text.length;
        } catch (e) { return 0; }
    }, KR_STATE_KEY);
    if (length <= 0) return String();
    std::vector<char16_t> text(static_cast<std::size_t>(length));
    const int copied = EM_ASM_INT({
        try {
            var text = window.localStorage.getItem(UTF8ToString($0));
            if (text === null || text.length != $2) return 0;
            for (var i = 0; i < $2; i++) HEAPU16[($1 >> 1) + i] = text.charCodeAt(i);
            return $2;
        } catch (e) { return 0; }
    }, KR_STATE_KEY, text.data(), length);
    return String(text.data(), copied);
}
