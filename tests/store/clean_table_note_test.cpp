// The note of tables found clean: it must never let a table that changed since skip its pack.
#include "store/clean_table_note.h"
#include "temp_dir.h"

#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using xb::store::CleanTableNote;

namespace {

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Marks a byte of the file as a deleted row would be marked: in place, size unchanged.
void overwriteByte(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, "*", 1, 3), 1);
    ::close(fd);
}

// A look that began well after the file was last written, so that the note may take it.
std::time_t later() {
    return std::time(nullptr) + 10;
}

// File times move in ticks of the kernel's clock; writes in one tick share their times. The
// look a note stands on began seconds after the last write, which the tests pretend with
// later(), so their next write must come at least a tick after the one before.
void nextClockTick() {
    ::usleep(30 * 1000);
}

} // namespace

TEST(CleanTableNote, ATableWrittenInAnyWaySinceItWasNotedIsLookedThroughAgain) {
    TempDir dir;
    const std::string table = dir.file("kjcg.dbf");
    writeFile(table, "0123456789");
    {
        CleanTableNote note(dir.path().string());
        EXPECT_FALSE(note.unchanged(table));
        note.noteClean(table, later());
        EXPECT_TRUE(note.unchanged(table));
        note.save();
    }
    // The note is read back by the next start.
    EXPECT_TRUE(CleanTableNote(dir.path().string()).unchanged(table));

    nextClockTick();
    overwriteByte(table); // same size, a row marked deleted
    EXPECT_FALSE(CleanTableNote(dir.path().string()).unchanged(table));

    {
        CleanTableNote note(dir.path().string());
        note.noteClean(table, later());
        note.save();
    }
    // A pack or another program puts a new file in its place, even with the same bytes.
    nextClockTick();
    writeFile(dir.file("new.dbf"), "0123*56789");
    std::filesystem::rename(dir.file("new.dbf"), table);
    EXPECT_FALSE(CleanTableNote(dir.path().string()).unchanged(table));
}

TEST(CleanTableNote, AFileWrittenDuringOrJustBeforeTheLookIsNotNoted) {
    TempDir dir;
    const std::string table = dir.file("cgwcr.dbf");
    writeFile(table, "rows");
    CleanTableNote note(dir.path().string());
    note.noteClean(table, std::time(nullptr));
    EXPECT_FALSE(note.unchanged(table));
    note.noteClean(dir.file("missing.dbf"), later());
    EXPECT_FALSE(note.unchanged(dir.file("missing.dbf")));
}

TEST(CleanTableNote, ADamagedNoteTrustsNothing) {
    TempDir dir;
    const std::string table = dir.file("zlqk.dbf");
    writeFile(table, "rows");
    writeFile(dir.file(".xbclean"), "zlqk.dbf 4 x y\nzlqk.dbf\n\xff\xfe garbage\n");
    EXPECT_FALSE(CleanTableNote(dir.path().string()).unchanged(table));
}
