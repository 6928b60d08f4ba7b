// Scene: text services a game uses every day: a console command line split
// into words, the save-game menu in natural order, a save blob carried as
// Base64 text, and a line of chat from the web with its HTML entities.
#include "scene.h"

#include <zyn/zyn.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

void run(const demo::Options&)
{
    // The console: "give  sword 3" split at single spaces keeps the empty word.
    const std::string command = "give  sword 3";
    zyn_string_list words;
    if (zyn_string_split(command, " ", 1, words)) {
        std::printf("  command \"%s\" has %zu words:", command.c_str(), words.size());
        for (const std::string& w : words)
            std::printf(" [%s]", w.c_str());
        std::printf("\n  amount %.0f, item upper case %s\n", zyn_string_to_number(words.back()),
                    zyn_string_to_upper_case(words[2]).c_str());
    }

    // The load menu: save10 after save9, whatever the case.
    const char* saves = "save10.dat;Save2.dat;autosave.dat;save9.dat;save1.dat";
    char menu[128] = "";
    if (zyn_string_sort(saves, ";", menu))
        std::printf("  load menu: %s\n", menu);

    // A save blob (binary, zero bytes included) as text for a cloud slot.
    const std::string blob("\x01\x00\x7F\xFFlevel=3", 11);
    const std::string text = zyn_string_base64_encode(blob);
    const std::string back = zyn_string_base64_decode(text);
    std::printf("  save blob of %zu bytes as Base64: %s (round trip %s)\n", blob.size(), text.c_str(),
                back == blob ? "exact" : "BROKEN");
    zyn_string_base64_decode("not base64!");
    demo::report_error("decoding \"not base64!\"");

    // A chat line from a web service.
    char chat[64] = "Caf&eacute; &amp; &lt;3 &#x1F600;";
    zyn_decode_entite(nullptr, sizeof chat, chat);
    std::printf("  chat line decoded to UTF-8: %s\n", chat);
    char latin1[64] = {};
    zyn_utf8_decode(chat, static_cast<uint32_t>(std::strlen(chat)), latin1);
    std::printf("  as Latin-1 (the emoji has no byte): %zu bytes\n", std::strlen(latin1));
}

demo::Register scene(30, "text: commands, save names, Base64, entities", run);

} // namespace
