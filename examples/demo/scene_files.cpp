// Scene: a game writes its log, keeps a save file and lists its save folder.
// Everything happens in a folder of its own under the temporary directory,
// removed at the end.
#include "scene.h"

#include <zyn/zyn.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

zyn_wstring wide(const fs::path& path)
{
#if defined(_WIN32)
    return path.wstring();
#else
    const std::u16string units = path.u16string();
    return zyn_wstring(units.begin(), units.end());
#endif
}

std::string narrow(const zyn_wstring& text)
{
    std::string out;
    for (zyn_wchar c : text)
        out += c < 0x80 ? char(c) : '?';
    return out;
}

void run(const demo::Options&)
{
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const fs::path game = fs::temp_directory_path() / ("zyn-demo-" + std::to_string(stamp));
    const fs::path saves = game / "saves";

    // The log first: one line per event, flushed at once.
    if (!zyn_directory_create(wide(saves)))
        return demo::report_error("zyn_directory_create");
    log_open((game / "game.log").string());
    log_write("game started");

    // A save file: written whole, read back whole.
    const std::string slot1 = (saves / "slot1.sav").string();
    const char save[] = "level=3\ngold=120\n";
    zyn_write_file(slot1.c_str(), save, sizeof save - 1);
    log_fwrite("saved %u bytes to slot 1", zyn_get_file_size(slot1.c_str()));
    char back[64] = {};
    const uint32_t got = zyn_read_file(slot1.c_str(), back, sizeof back - 1);
    for (char& c : back)
        c = c == '\n' ? ' ' : c;
    std::printf("  slot 1 holds %u bytes: %s\n", got, back);

    // A backup, then a second slot made by renaming the backup.
    zyn_file_copy(wide(saves / "slot1.sav"), wide(saves / "slot1.bak"), true);
    zyn_file_rename((saves / "slot1.bak").string().c_str(), (saves / "slot2.sav").string().c_str());
    zyn_directory_create(wide(saves / "screenshots"));

    wstring_list files, folders;
    zyn_list_files(wide(saves), files);
    zyn_list_directories(wide(saves), folders);
    std::printf("  save folder: %u files, %u folders\n", files.count, folders.count);
    for (uint32_t i = 0; i < files.count; ++i)
        std::printf("    %s\n", narrow(files.items[i]).c_str());
    for (uint32_t i = 0; i < folders.count; ++i)
        std::printf("    %s (folder)\n", narrow(folders.items[i]).c_str());

    zyn_file_exists(wide(saves / "slot9.sav"));
    demo::report_error("zyn_file_exists of a missing slot");
    const std::string listed = "listed the save folder";
    wlog_write(zyn_wstring(listed.begin(), listed.end()));
    log_close();
    std::printf("  game.log is %u bytes\n", zyn_get_file_size((game / "game.log").string().c_str()));

    if (!zyn_directory_delete(wide(game)))
        demo::report_error("zyn_directory_delete");
}

demo::Register scene(40, "files, saves and the log", run);

} // namespace
