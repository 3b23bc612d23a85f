#include <gtest/gtest.h>

#include <QFile>

#include <cstdio>
#include <string>

#include <windows.h>

namespace {

class Files : public testing::Test {
protected:
    // The name is ANSI (Latin-1); on disk it is in the locale's encoding.
    void TearDown() override { QFile::remove(QString::fromLatin1(path.c_str())); }
    HANDLE open(DWORD access, DWORD creation) const {
        return CreateFileA(path.c_str(), access, 0, nullptr, creation, 0, nullptr);
    }
    std::string path = testing::TempDir() + "files_test_\xE9t\xE9.txt";
};

TEST_F(Files, WrittenBytesReadBackWholeNulIncluded) {
    const char written[] = "q0\r\n(q0,1,q1,0,R)";
    HANDLE file = open(GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD count = 0;
    ASSERT_TRUE(WriteFile(file, written, sizeof written, &count, nullptr));
    EXPECT_EQ(count, sizeof written);
    ASSERT_TRUE(CloseHandle(file));
    EXPECT_TRUE(QFile::exists(QString::fromLatin1(path.c_str())));

    file = open(GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileSize(file, nullptr), sizeof written);
    char read[64] = {};
    ASSERT_TRUE(ReadFile(file, read, sizeof read, &count, nullptr));
    EXPECT_EQ(count, sizeof written);
    EXPECT_EQ(std::string(read, count), std::string(written, sizeof written));
    ASSERT_TRUE(ReadFile(file, read, sizeof read, &count, nullptr));
    EXPECT_EQ(count, 0u);
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_FALSE(CloseHandle(file));
    EXPECT_FALSE(ReadFile(file, read, sizeof read, &count, nullptr));
}

TEST_F(Files, CreateAlwaysEmptiesAnExistingFile) {
    HANDLE file = open(GENERIC_WRITE, CREATE_ALWAYS);
    WriteFile(file, "longer text", 11, nullptr, nullptr);
    CloseHandle(file);
    file = open(GENERIC_WRITE, CREATE_ALWAYS);
    WriteFile(file, "x", 1, nullptr, nullptr);
    EXPECT_EQ(GetFileSize(file, nullptr), 1u);
    CloseHandle(file);
}

TEST_F(Files, AMissingFileOrFolderFailsWithItsError) {
    EXPECT_EQ(open(GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(CreateFileA(testing::TempDir().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(GetFileSize(INVALID_HANDLE_VALUE, nullptr), INVALID_FILE_SIZE);
}

}  // namespace
