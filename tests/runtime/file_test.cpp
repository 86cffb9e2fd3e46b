#include "runtime/File.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <csignal>
#include <functional>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/PlatformFile.h"
#include "support/Processes.h"
#include "support/TempDir.h"

namespace {

using namespace runtime;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;
using Bytes = std::vector<std::uint8_t>;

class FileTest : public ::testing::Test {
protected:
    FileTest() { FileLibraryInit(); }
    ~FileTest() override { FileLibraryEnd(); }

    static std::int64_t Writes() { return platform::GetFileCallCounts().writes; }
    static std::int64_t Reads() { return platform::GetFileCallCounts().reads; }

    TempDir dir;
};

TEST_F(FileTest, The1024thLongFlushesTheFirst1023AndIsWrittenAtClose) {
    ASSERT_NE(FileCreate(0, "a.bin"), 0);
    const auto before = Writes();
    for (int i = 0; i < 1023; ++i) FileWriteLong(0, i);
    EXPECT_EQ(Writes(), before);  // 4092 bytes still fit: the buffer never fills completely
    FileWriteLong(0, 1023);
    EXPECT_EQ(Writes(), before + 1);
    EXPECT_EQ(std::filesystem::file_size("a.bin"), 4092u);
    EXPECT_EQ(FileClose(0), 1);
    const Bytes bytes = ReadBytes("a.bin");
    ASSERT_EQ(bytes.size(), 4096u);
    for (int i = 0; i < 1024; ++i) {
        EXPECT_EQ(bytes[4 * i] | bytes[4 * i + 1] << 8, i);
    }
}

TEST_F(FileTest, WordsAndLongsAreLittleEndian) {
    FileCreate(0, "w.bin");
    EXPECT_EQ(FileWriteWord(0, 65537), 2);
    EXPECT_EQ(FileWriteWord(0, -2), 2);
    EXPECT_EQ(FileWriteLong(0, 1), 4);
    FileWriteData(0, "\xFF\x7F", 2);
    FileClose(0);
    EXPECT_EQ(ReadBytes("w.bin"), (Bytes{0x01, 0x00, 0xFE, 0xFF, 0x01, 0, 0, 0, 0xFF, 0x7F}));

    ASSERT_NE(FileOpenRead(0, "w.bin"), 0);
    EXPECT_EQ(FileReadWord(0), 1);
    EXPECT_EQ(FileReadWord(0), -2);
    EXPECT_EQ(FileReadLong(0), 1);
    EXPECT_EQ(FileReadWord(0), 32767);
    EXPECT_EQ(FileAtEnd(0), 0);
    EXPECT_EQ(FileReadWord(0), 0);
    EXPECT_EQ(FileAtEnd(0), 1);
}

TEST_F(FileTest, ALongCutOffByTheEndKeepsItsBytesInTheLowEnd) {
    WriteBytes("short.bin", {0x34, 0x12});
    FileOpenRead(0, "short.bin");
    EXPECT_EQ(FileReadLong(0), 0x1234);
    EXPECT_EQ(FileReadLong(0), 0);
}

TEST_F(FileTest, ReadsGoDirectFrom4096BytesAndRefillBelow) {
    Bytes data(10000);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7);
    WriteBytes("big.bin", data);

    FileOpenRead(0, "big.bin");
    EXPECT_EQ(FileBytesLeft(0), 10000);
    Bytes out(5000);
    auto before = Reads();
    EXPECT_EQ(FileReadData(0, out.data(), 5000), 5000);
    EXPECT_EQ(Reads(), before + 1);  // one direct read, no refill
    EXPECT_TRUE(std::equal(out.begin(), out.end(), data.begin()));
    EXPECT_EQ(FileBytesLeft(0), 5000);

    before = Reads();
    EXPECT_EQ(FileReadData(0, out.data(), 10), 10);
    EXPECT_EQ(Reads(), before + 1);  // a refill of up to 4096 bytes
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + 10, data.begin() + 5000));
    EXPECT_EQ(FileBytesLeft(0), 4990);  // the read-ahead in the buffer still counts

    // 4100 bytes: 4086 left in the buffer, then 14 more through a second refill.
    before = Reads();
    Bytes across(4100);
    EXPECT_EQ(FileReadData(0, across.data(), 4100), 4100);
    EXPECT_EQ(Reads(), before + 1);
    EXPECT_TRUE(std::equal(across.begin(), across.end(), data.begin() + 5010));
    EXPECT_EQ(FileBytesLeft(0), 890);

    // What is left is less than asked for: the count says so.
    Bytes rest(2000);
    EXPECT_EQ(FileReadData(0, rest.data(), 2000), 10000 - 9110);
    EXPECT_TRUE(std::equal(rest.begin(), rest.begin() + 890, data.begin() + 9110));
    EXPECT_EQ(FileBytesLeft(0), 0);
}

TEST_F(FileTest, LargeWritesBypassTheBufferAfterFlushingIt) {
    Bytes block(5000, 0xAB);
    FileCreate(0, "d.bin");
    FileWriteWord(0, 0x0201);
    const auto before = Writes();
    EXPECT_EQ(FileWriteData(0, block.data(), 5000), 5000);
    EXPECT_EQ(Writes(), before + 2);  // the pending word, then the block in one call
    EXPECT_EQ(std::filesystem::file_size("d.bin"), 5002u);
    FileClose(0);
    const Bytes bytes = ReadBytes("d.bin");
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[2], 0xAB);
}

TEST_F(FileTest, BadArgumentsAndMissingFilesReturnZero) {
    FileCreate(0, "x.bin");
    char c = 0;
    EXPECT_EQ(FileWriteData(0, nullptr, 4), 0);
    EXPECT_EQ(FileWriteData(0, "abc", 0), 0);
    EXPECT_EQ(FileWriteData(0, "abc", -1), 0);
    EXPECT_EQ(FileReadData(0, &c, -1), 0);
    FileClose(0);
    EXPECT_EQ(std::filesystem::file_size("x.bin"), 0u);

    EXPECT_EQ(FileOpenRead(1, "missing.bin"), 0);
    EXPECT_EQ(FileReadLong(1), 0);
    EXPECT_EQ(FileBytesLeft(1), 0);
    EXPECT_EQ(FileWriteLong(1, 5), 0);
    EXPECT_EQ(FileClose(1), 0);
    EXPECT_EQ(FileClose(-1), 0);
    EXPECT_EQ(FileOpenRead(-7, "x.bin"), 0);

    std::filesystem::create_directory("folder");
    EXPECT_EQ(FileOpenRead(0, "folder"), 0);  // a folder is not a file
}

#ifndef _WIN32
// A FIFO would block an open for reading until a writer comes: every open mode refuses it at
// once, as it refuses a folder or a device, and says why. Each open runs in a child process that
// an alarm ends if it waits.
TEST_F(FileTest, OpensRefuseWhatIsNoRegularFileWithoutWaitingAndSayWhy) {
    ASSERT_EQ(::mkfifo("fifo", 0666), 0);
    std::filesystem::create_directory("folder");
    using Open = std::function<std::int32_t(std::string_view)>;
    const std::pair<const char*, Open> modes[] = {
        {"read", [](std::string_view p) { return FileOpenRead(0, p); }},
        {"read-write", [](std::string_view p) { return FileOpenReadWrite(0, p); }},
        {"create", [](std::string_view p) { return FileCreate(0, p); }},
        {"exclusive", [](std::string_view p) { return FileOpenExclusive(0, p); }},
    };
    const std::pair<const char*, FileError> paths[] = {
        {"fifo", FileError::NotRegular},
        {"FIFO", FileError::NotRegular},  // found as the program's files are, in any case
        {"folder", FileError::Folder},
        {"/dev/null", FileError::NotRegular},
    };
    for (const auto& [mode, open] : modes) {
        for (const auto& [path, error] : paths) {
            SCOPED_TRACE(std::string(mode) + " " + path);
            const pid_t child = ::fork();
            if (child == 0) {
                ::alarm(5);
                const bool refused = open(path) == 0 && FileLastError() == error;
                ::_exit(refused ? 0 : 1);
            }
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            EXPECT_FALSE(WIFSIGNALED(status)) << "the open waited";
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "not refused as such";
        }
    }
    EXPECT_EQ(FileOpenRead(0, "missing.bin"), 0);
    EXPECT_EQ(FileLastError(), FileError::NotFound);
    EXPECT_EQ(FileCreate(0, "missing/x.bin"), 0);
    EXPECT_EQ(FileLastError(), FileError::NotFound);
}
#endif

TEST_F(FileTest, CreateEmptiesAnExistingFile) {
    WriteBytes("e.bin", {1, 2, 3});
    FileCreate(0, "e.bin");
    FileClose(0);
    EXPECT_EQ(std::filesystem::file_size("e.bin"), 0u);
}

TEST_F(FileTest, ReopeningANumberWritesOutTheOldFileEvenWhenTheNewOpenFails) {
    FileCreate(0, "first.bin");
    FileWriteLong(0, 0x11223344);
    EXPECT_EQ(FileOpenRead(0, "missing.bin"), 0);
    EXPECT_EQ(ReadBytes("first.bin"), (Bytes{0x44, 0x33, 0x22, 0x11}));
    EXPECT_EQ(FileWriteLong(0, 1), 0);  // nothing lives under 0 now
}

TEST_F(FileTest, DynamicFilesAndTheEndStepWritePendingBytes) {
    const std::int32_t id = FileCreate(-1, "dyn.bin");
    ASSERT_LT(id, -1);
    FileWriteLong(id, 7);
    FileCreate(3, "three.bin");
    FileWriteWord(3, 9);
    FileLibraryEnd();
    EXPECT_EQ(ReadBytes("dyn.bin"), (Bytes{7, 0, 0, 0}));
    EXPECT_EQ(ReadBytes("three.bin"), (Bytes{9, 0}));
    EXPECT_EQ(FileWriteLong(id, 1), 0);
}

TEST_F(FileTest, PathsUseBackslashesCp1252AndMatchCaseWhenOpening) {
    std::filesystem::create_directory("karten");
    WriteBytes("karten/wald.map", {5, 0});
    ASSERT_NE(FileOpenRead(0, "Karten\\Wald.MAP"), 0);
    EXPECT_EQ(FileReadWord(0), 5);
    FileClose(0);

    ASSERT_NE(FileCreate(0, "Karten\\B\xE4ume.MAP"), 0);  // "Bäume" in CP1252
    FileClose(0);
    EXPECT_TRUE(std::filesystem::exists(u8"karten/Bäume.MAP"));
}

TEST_F(FileTest, ExactNamesNeverTakeAFileThatDiffersInCase) {
    WriteBytes("Wald.PNG", {1});
    std::filesystem::permissions("Wald.PNG", std::filesystem::perms::owner_read);
    ASSERT_NE(FileCreate(0, "neu"), 0);
    FileWriteWord(0, 7);
    FileClose(0);
#ifdef _WIN32
    // Windows' file system holds no two names that differ only in case: exactly too,
    // "wald.png" is the read-only "Wald.PNG", which a replace leaves alone.
    EXPECT_EQ(FileReadOnly("wald.png", PathNames::Exact), 1);
    EXPECT_EQ(FileReplace("neu", "wald.png", PathNames::Exact), 0);
    EXPECT_EQ(ReadBytes("Wald.PNG"), Bytes{1});
    EXPECT_EQ(FileSystemPath("wald.png"), "Wald.PNG");
    return;
#endif
    // By the editor's rule "wald.png" is the read-only "Wald.PNG"; exactly, it is a new file.
    EXPECT_EQ(FileReadOnly("wald.png"), 1);
    EXPECT_EQ(FileReadOnly("wald.png", PathNames::Exact), 0);
    EXPECT_EQ(FileReplace("neu", "wald.png", PathNames::Exact), 1);
    EXPECT_EQ(ReadBytes("Wald.PNG"), Bytes{1});
    EXPECT_EQ(ReadBytes("wald.png"), (Bytes{7, 0}));
    EXPECT_EQ(FileDelete("WALD.png", PathNames::Exact), 0);
    EXPECT_EQ(FileDelete("wald.png", PathNames::Exact), 1);
    EXPECT_TRUE(std::filesystem::exists("Wald.PNG"));
    EXPECT_EQ(FileSystemPath("wald.png"), "Wald.PNG");
}

TEST_F(FileTest, SwitchingFromWritingToReadingFlushesFirst) {
    FileOpenReadWrite(0, "rw.bin");
    FileWriteLong(0, 42);
    char c = 0;
    EXPECT_EQ(FileReadData(0, &c, 1), 0);  // the position is past what was written
    EXPECT_EQ(std::filesystem::file_size("rw.bin"), 4u);
    FileClose(0);
}

TEST_F(FileTest, ExclusiveOpenRefusesASecondOpener) {
    WriteBytes("ex.bin", {1});
    EXPECT_NE(FileOpenExclusive(0, "ex.bin"), 0);
    EXPECT_EQ(FileOpenExclusive(1, "ex.bin"), 0);
    FileClose(0);
    EXPECT_NE(FileOpenExclusive(1, "ex.bin"), 0);
}

TEST_F(FileTest, CloseReportsBytesTheOsDidNotTake) {
    // A handle opened for reading takes no bytes at all.
    WriteBytes("ro.bin", {});
    ASSERT_NE(FileOpenRead(0, "ro.bin"), 0);
    FileWriteLong(0, 1);
    EXPECT_EQ(FileClose(0), 0);
}

}  // namespace

namespace {

TEST_F(FileTest, TemporaryFilesAreNewHiddenFilesBesideTheTarget) {
    std::filesystem::create_directory("karten");
    const std::string a = FileCreateTemporary(0, "Karten");
    ASSERT_FALSE(a.empty());
    FileWriteLong(0, 7);
    EXPECT_EQ(FileClose(0), 1);
    const std::string b = FileCreateTemporary(0, "Karten");
    ASSERT_FALSE(b.empty());
    FileClose(0);
    EXPECT_NE(a, b);
    for (const std::string& path : {a, b}) {
        EXPECT_EQ(path.rfind("Karten\\.", 0), 0u) << path;  // hidden, in the target's folder
        EXPECT_EQ(path.find(".MAP"), std::string::npos) << path;
    }
    EXPECT_EQ(ReadBytes("karten/" + a.substr(7)), (Bytes{7, 0, 0, 0}));
    EXPECT_EQ(std::filesystem::file_size("karten/" + b.substr(7)), 0u);
    EXPECT_EQ(FileCreateTemporary(0, "Fehlt"), "");
    EXPECT_EQ(FileCreateTemporary(-1, "Karten"), "");
}

TEST_F(FileTest, OnlyOldTemporaryFilesOfProcessesThatAreGoneAreRemoved) {
    // A process number that no process has any more: a child that has ended.
    const std::string gone = testing_support::EndedProcessId();
    ASSERT_FALSE(gone.empty());
    const testing_support::OtherProcess running;
    const std::string alive = running.Id();
    const std::string own = testing_support::OwnProcessId();
    struct Case {
        std::string name;
        bool old;
        bool removed;
    };
    const Case cases[] = {
        {".~mapeditor-" + gone + "-3-0a1b2c3d.tmp", true, true},
        {".~mapeditor-" + gone + "-4-0a1b2c3d.tmp", false, false},  // may be a save just begun
        {".~mapeditor-" + alive + "-1-00000000.tmp", true, false},  // its process still runs
        {".~mapeditor-" + own + "-1-00000000.tmp", true, false},
        {".~mapeditor-" + gone + "-3-0a1b2c3d.tmp.MAP", true, false},  // not a name we make
        {"~mapeditor-" + gone + "-3-0a1b2c3d.tmp", true, false},
        {"Wald.MAP", true, false},
    };
    std::filesystem::create_directory("karten");
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    for (const Case& c : cases) {
        WriteBytes("karten/" + c.name, Bytes{1});
        if (c.old) std::filesystem::last_write_time("karten/" + c.name, old);
    }
    EXPECT_EQ(FileRemoveAbandonedTemporaries("Karten", 600), 1);
    for (const Case& c : cases) {
        EXPECT_EQ(std::filesystem::exists("karten/" + c.name), !c.removed) << c.name;
    }
    EXPECT_EQ(FileRemoveAbandonedTemporaries("Fehlt", 600), 0);
}

TEST_F(FileTest, FolderListingsAndFileIdentityFollowTheProgramsPaths) {
    std::filesystem::create_directories("karten/Ordner.MAP");
    WriteBytes("karten/wald.map", {1});
    WriteBytes(u8"karten/Grün.MAP", {2});
    EXPECT_EQ(FolderFiles("Karten"), (std::vector<std::string>{"Gr\xFCn.MAP", "wald.map"}));
    EXPECT_EQ(FolderFiles("Fehlt"), std::vector<std::string>{});
    EXPECT_EQ(FileSame("Karten\\Wald.MAP", "karten/wald.map"), 1);
    EXPECT_EQ(FileSame("Karten\\Gr\xFCn.MAP", "Karten\\Wald.MAP"), 0);
    EXPECT_EQ(FileSame("Karten\\Fehlt.MAP", "Karten\\Fehlt.MAP"), 0);
    EXPECT_EQ(FileExists("Karten\\Gr\xFCn.MAP"), 1);
    EXPECT_EQ(FileExists("Karten\\Ordner.MAP"), 0);
    std::filesystem::permissions("karten/wald.map", std::filesystem::perms(0444));
    EXPECT_EQ(FileReadOnly("Karten\\Wald.MAP"), 1);
    EXPECT_EQ(FileReadOnly("Karten\\Gr\xFCn.MAP"), 0);
    EXPECT_EQ(FileReadOnly("Karten\\Fehlt.MAP"), 0);
}

TEST_F(FileTest, WholeFilesAreReadUpToTheirLimitAndWrittenInFull) {
    constexpr std::size_t kChunk = std::size_t{1} << 20;  // the reader's chunk
    for (const std::size_t size :
         {std::size_t{0}, std::size_t{1}, kChunk - 1, kChunk, kChunk + 1, 3 * kChunk + 5}) {
        SCOPED_TRACE(size);
        Bytes written(size);
        for (std::size_t i = 0; i < size; ++i)
            written[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
        ASSERT_NE(FileCreate(0, "whole.bin"), 0);
        EXPECT_EQ(FileWriteAll(0, written.data(), written.size()), 1);
        EXPECT_EQ(FileClose(0), 1);
        EXPECT_EQ(ReadBytes("whole.bin"), written);

        Bytes bytes{1, 2, 3};
        EXPECT_EQ(FileReadWhole("WHOLE.BIN", bytes), WholeFile::Read);  // found as opens find it
        EXPECT_EQ(bytes, written);
        EXPECT_EQ(FileReadWhole("whole.bin", bytes, static_cast<std::int64_t>(size)),
                  WholeFile::Read);
        EXPECT_EQ(bytes, written);
        if (size > 0) {
            EXPECT_EQ(FileReadWhole("whole.bin", bytes, static_cast<std::int64_t>(size) - 1),
                      WholeFile::TooLarge);
            EXPECT_TRUE(bytes.empty());
        }
    }
    Bytes bytes{1};
    EXPECT_EQ(FileReadWhole("missing.bin", bytes), WholeFile::Missing);
    EXPECT_EQ(FileLastError(), FileError::NotFound);
    EXPECT_TRUE(bytes.empty());
    std::filesystem::create_directory("folder");
    EXPECT_EQ(FileReadWhole("folder", bytes), WholeFile::Missing);
    EXPECT_EQ(FileLastError(), FileError::Folder);

    // Nothing open under the number: nothing is written.
    EXPECT_EQ(FileWriteAll(5, "x", 1), 0);
}

}  // namespace
