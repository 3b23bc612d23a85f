#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <windows.h>

#include <QDir>
#include <QFile>
#include <cstdio>
#include <string>

namespace {

// Files in a folder of their own under the test's temporary folder. Names are
// ANSI (UTF-8), on disk as the bytes they are.
class Files : public testing::Test {
protected:
    void SetUp() override { QDir().mkpath(QString::fromUtf8(folder)); }
    void TearDown() override { QDir(QString::fromUtf8(folder)).removeRecursively(); }

    std::string pathOf(const std::string& name) const { return folder + "/" + name; }
    static HANDLE open(const std::string& path, DWORD access, DWORD creation, DWORD share = 0) {
        return CreateFileA(path.c_str(), access, share, nullptr, creation, 0, nullptr);
    }
    static void write(const std::string& path, const std::string& bytes) {
        HANDLE file = open(path, GENERIC_WRITE, CREATE_ALWAYS);
        DWORD count = 0;
        ASSERT_TRUE(
            WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr));
        ASSERT_TRUE(CloseHandle(file));
    }
    static std::string contents(const std::string& path) {
        QFile file(QString::fromUtf8(path));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "(unreadable)";
    }
    static void setMode(const std::string& path, mode_t mode) { ::chmod(path.c_str(), mode); }

    // Named after the test, so that tests run side by side never share it.
    std::string folder = testing::TempDir() + "files_test_\xC3\xA9t\xC3\xA9_" +
                         testing::UnitTest::GetInstance()->current_test_info()->name();
    std::string path = pathOf("machine_\xC3\xA9.txt");
};

// A file without write bits is read-only, and Win32 keeps it so even for root.
TEST_F(Files, AReadOnlyFileIsReportedAndRefusedToWritersEvenToRoot) {
    const std::string fresh = pathOf("fresh.tmp");
    write(fresh, "new");
    write(path, "kept");
    setMode(path, 0444);
    EXPECT_EQ(GetFileAttributesA(path.c_str()),
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(open(path, GENERIC_WRITE, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(open(path, GENERIC_WRITE, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(DeleteFileA(path.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(MoveFileExA(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(contents(path), "kept");
    HANDLE reader = open(path, GENERIC_READ, OPEN_EXISTING);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE);
    CloseHandle(reader);
}

// A file held open without FILE_SHARE_DELETE cannot be replaced, a folder
// neither replaced nor deleted.
TEST_F(Files, AHeldFileOrAFolderIsLeftAlone) {
    const std::string fresh = pathOf("fresh.tmp");
    write(fresh, "new");
    write(path, "old");
    HANDLE holder = open(path, GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_FALSE(MoveFileExA(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(ReplaceFileA(path.c_str(), fresh.c_str(), nullptr, 0, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(contents(path), "old");
    CloseHandle(holder);
    EXPECT_FALSE(MoveFileExA(fresh.c_str(), testing::TempDir().c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(DeleteFileA(folder.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST_F(Files, TheSizeOfAFileOver4GbComesInTwoWords) {
    write(path, "");
    ASSERT_EQ(::truncate(path.c_str(), 0x100000005LL), 0);
    HANDLE file = open(path, GENERIC_READ, OPEN_EXISTING);
    DWORD high = 0;
    EXPECT_EQ(GetFileSize(file, &high), 5u);
    EXPECT_EQ(high, 1u);
    CloseHandle(file);
}

}  // namespace
