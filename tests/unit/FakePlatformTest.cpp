#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "platform/Paths.h"
#include "platform/fake/FakeDebugOutput.h"
#include "platform/fake/FakeDrives.h"
#include "platform/fake/FakeEnvironment.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeInstanceLocks.h"
#include "platform/fake/FakePlatformScope.h"
#include "platform/fake/FakeProcesses.h"
#include "platform/fake/FakeSpecialFolders.h"

namespace {

TStartRequest Request(std::string program, std::string parameters = "", std::string folder = "") {
  TStartRequest request;
  request.Executable = std::move(program);
  request.Parameters = std::move(parameters);
  request.Folder = std::move(folder);
  return request;
}

struct TFakeFixture : ::testing::Test {
  TFakePlatformScope Scope;
  TFakeFileSystem& Files = Scope->FakeFiles();
  TFakeDrives& Drives = Scope->FakeDrives();
};

// ---- Windows path rules -------------------------------------------------------------------

TEST_F(TFakeFixture, PathsNameTheSameFolderWhateverTheirSpelling) {
  ASSERT_EQ(Files.ForceFolders("C:\\Apps\\Tool"), 0);
  Files.SetCurrentFolder("C:\\Apps");
  struct TCase {
    const char* Path;
    bool Exists;
  } cases[] = {
      {"C:\\Apps\\Tool", true},   {"c:\\APPS\\tool", true},    {"C:/Apps/Tool", true},
      {"C:\\Apps\\Tool\\", true}, {"C:\\Apps\\.\\Tool", true}, {"C:\\Apps\\X\\..\\Tool", true},
      {"C:\\Apps. \\Tool", true}, {"Tool", true},              {"\\Apps\\Tool", true},
      {"C:Tool", true},           {"D:\\Apps\\Tool", false},   {"\\\\server\\share\\Tool", false},
      {"C:\\Apps\\To?l", false},  {"", false},
  };
  for (const TCase& c : cases) EXPECT_EQ(Files.FolderExists(c.Path), c.Exists) << c.Path;
  EXPECT_EQ(Files.FullPath("c:/apps/x/../Tool"), "C:\\apps\\Tool");
}

TEST_F(TFakeFixture, NamesKeepTheirCaseAndRefuseWindowsReservedCharacters) {
  ASSERT_EQ(Files.WriteAtomic("C:\\ReadMe.TXT", "one"), 0);
  ASSERT_EQ(Files.WriteAtomic("c:\\readme.txt", "two"), 0);  // the same file
  auto entries = Files.List("C:\\*");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].Name, "ReadMe.TXT");
  EXPECT_EQ(entries[0].Size, 3);
  for (const char* bad : {"C:\\a|b", "C:\\a<b", "C:\\a\"b", "C:\\a*b", "C:\\a:b"}) {
    EXPECT_EQ(Files.CreateFolder(bad), EINVAL) << bad;
    EXPECT_EQ(Files.ForceFolders(std::string(bad) + "\\deeper"), EINVAL) << bad;
  }
}

TEST_F(TFakeFixture, FolderOperationsReportTheirErrors) {
  EXPECT_EQ(Files.CreateFolder("C:\\A\\B"), ENOENT);  // one level only
  EXPECT_EQ(Files.ForceFolders("C:\\A\\B\\C"), 0);
  EXPECT_EQ(Files.CreateFolder("C:\\A"), EEXIST);
  EXPECT_EQ(Files.ForceFolders("C:\\A\\B"), 0);  // already there
  EXPECT_EQ(Files.RemoveFolder("C:\\A\\B"), ENOTEMPTY);
  EXPECT_EQ(Files.RemoveFolder("C:\\A\\B\\C"), 0);
  ASSERT_EQ(Files.WriteAtomic("C:\\A\\file", "x"), 0);
  EXPECT_EQ(Files.ForceFolders("C:\\A\\file\\sub"), ENOTDIR);
  EXPECT_EQ(Files.RemoveFolder("C:\\A\\file"), ENOTDIR);
  EXPECT_EQ(Files.ForceFolders("Q:\\X"), ENOENT);  // no such drive
}

// ---- files --------------------------------------------------------------------------------

TEST_F(TFakeFixture, ReadOnlyFileRefusesEveryWriteAndKeepsItsContent) {
  ASSERT_EQ(Files.WriteAtomic("C:\\settings.ini", "old"), 0);
  ASSERT_EQ(Files.SetAttributes("C:\\settings.ini", faReadOnly | faHidden), 0);
  int error = 0;
  EXPECT_EQ(Files.WriteAtomic("C:\\settings.ini", "new"), EACCES);
  EXPECT_EQ(Files.Append("C:\\settings.ini", "more"), EACCES);
  EXPECT_EQ(Files.DeleteFile("C:\\settings.ini"), EACCES);
  EXPECT_EQ(Files.Open("C:\\settings.ini", TOpenMode::ReadWrite, &error), nullptr);
  EXPECT_EQ(error, EACCES);
  EXPECT_EQ(Files.Open("C:\\settings.ini", TOpenMode::CreateAlways, &error), nullptr);
  ASSERT_EQ(Files.WriteAtomic("C:\\other", "x"), 0);
  EXPECT_EQ(Files.RenameFile("C:\\other", "C:\\settings.ini"), EACCES);
  EXPECT_EQ(Files.CopyFile("C:\\other", "C:\\settings.ini"), EACCES);
  std::string bytes;
  ASSERT_EQ(Files.ReadAll("C:\\settings.ini", bytes), 0);
  EXPECT_EQ(bytes, "old");
  EXPECT_NE(Files.Open("C:\\settings.ini", TOpenMode::Read), nullptr);

  ASSERT_EQ(Files.SetAttributes("C:\\settings.ini", faHidden), 0);
  EXPECT_EQ(Files.WriteAtomic("C:\\settings.ini", "new"), 0);
  EXPECT_EQ(Files.GetAttributes("C:\\settings.ini"), uint32_t(faHidden));  // kept over the replace
}

TEST_F(TFakeFixture, OpenFileIsABufferWithPositionalWrites) {
  auto file = Files.Open("C:\\part.bin", TOpenMode::OpenOrCreate);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->WriteAt(4, "tail", 4), 4);  // a gap fills with zeros
  EXPECT_EQ(file->WriteAt(0, "head", 4), 4);
  EXPECT_EQ(file->Size(), 8);
  char buffer[16] = {};
  EXPECT_EQ(file->ReadAt(2, buffer, 16), 6);
  EXPECT_EQ(std::string(buffer, 6), "adtail");
  EXPECT_EQ(Files.FileSize("C:\\part.bin"), 8);
  // A replace gives the file a new buffer, as a rename does: the open handle keeps the old.
  ASSERT_EQ(Files.WriteAtomic("C:\\part.bin", "x"), 0);
  EXPECT_EQ(file->Size(), 8);
  EXPECT_EQ(Files.FileSize("C:\\part.bin"), 1);
  auto reader = Files.Open("C:\\part.bin", TOpenMode::Read);
  EXPECT_EQ(reader->WriteAt(0, "y", 1), -1);
  EXPECT_EQ(reader->LastError(), EBADF);
}

TEST_F(TFakeFixture, AttributesFollowWindows) {
  ASSERT_EQ(Files.ForceFolders("C:\\Dir"), 0);
  ASSERT_EQ(Files.WriteAtomic("C:\\Dir\\f", ""), 0);
  EXPECT_EQ(Files.GetAttributes("C:\\Dir"), uint32_t(faDirectory));
  EXPECT_EQ(Files.GetAttributes("C:\\Dir\\f"), uint32_t(faArchive));
  EXPECT_EQ(Files.GetAttributes("C:\\Dir\\missing"), faInvalid);
  Files.SetAttributes("C:\\Dir", faHidden);
  EXPECT_EQ(Files.GetAttributes("C:\\Dir"), uint32_t(faHidden | faDirectory));
  Files.SetAttributes("C:\\Dir\\f", 0);
  EXPECT_EQ(Files.GetAttributes("C:\\Dir\\f"), uint32_t(faNormal));
  // A drive root that reports exactly "read-only" is arranged with the raw form.
  Files.SetRawAttributes("C:\\", faReadOnly);
  EXPECT_EQ(Files.GetAttributes("C:\\"), uint32_t(faReadOnly));
}

TEST_F(TFakeFixture, ListMatchesWildcardsWithoutRegardToCase) {
  Files.AddFile("C:\\D\\a.txt", "1");
  Files.AddFile("C:\\D\\B.TXT", "22");
  Files.AddFile("C:\\D\\c.log", "333");
  Files.AddFile("C:\\D\\noext", "");
  Files.ForceFolders("C:\\D\\Sub");
  struct TCase {
    const char* Pattern;
    const char* Names;
  } cases[] = {
      {"C:\\D\\*.txt", "a.txt,B.TXT,"},
      {"C:\\D\\*.*", "a.txt,B.TXT,c.log,noext,Sub,"},
      {"C:\\D\\?.log", "c.log,"},
      {"C:/d/SUB", "Sub,"},
      {"C:\\D\\*.exe", ""},
      {"C:\\Missing\\*", ""},
  };
  for (const TCase& c : cases) {
    std::string names;
    for (const TDirEntry& e : Files.List(c.Pattern)) names += e.Name + ",";
    EXPECT_EQ(names, c.Names) << c.Pattern;
  }
}

// ---- drives -------------------------------------------------------------------------------

TEST_F(TFakeFixture, ReadOnlyRootRefusesNewEntriesButNotDeeperFolders) {
  Drives.AddDrive("D:", TDriveType::Fixed, 1 << 30, /*readOnlyRoot=*/true);
  Files.AddFile("D:\\Games\\keep.txt", "arranged");
  EXPECT_EQ(Files.CreateFolder("D:\\New"), EACCES);
  EXPECT_EQ(Files.ForceFolders("D:\\New\\Deeper"), EACCES);
  EXPECT_EQ(Files.WriteAtomic("D:\\file.txt", "x"), EACCES);
  EXPECT_EQ(Files.Open("D:\\file.txt", TOpenMode::OpenOrCreate), nullptr);
  EXPECT_FALSE(Files.FolderExists("D:\\New"));
  EXPECT_EQ(Files.ForceFolders("D:\\Games\\Quenvo VPN Browser"), 0);
  EXPECT_EQ(Files.WriteAtomic("D:\\Games\\keep.txt", "new"), 0);
  Files.SetRootReadOnly("D:", false);
  EXPECT_EQ(Files.CreateFolder("D:\\New"), 0);
}

TEST_F(TFakeFixture, DrivesHaveTypesFreeSpaceAndAnOrder) {
  Drives.AddDrive("e:", TDriveType::Removable, 5);
  Drives.AddDrive("D:", TDriveType::Fixed, 1 << 30);
  Drives.AddDrive("F:", TDriveType::CdRom, 0);
  Drives.SetFreeSpace("C:", 100 << 20);
  struct TCase {
    const char* Path;
    const char* Drive;
    TDriveType Type;
  } cases[] = {
      {"C:\\Apps", "C:", TDriveType::Fixed},      {"d:/Games", "d:", TDriveType::Fixed},
      {"E:\\", "E:", TDriveType::Removable},      {"F:", "F:", TDriveType::CdRom},
      {"Z:\\x", "Z:", TDriveType::NoRootDir},     {"\\\\server\\share\\x", "\\\\server\\share", TDriveType::Remote},
      {"relative\\x", "", TDriveType::NoRootDir},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(Drives.DriveOf(c.Path), c.Drive) << c.Path;
    EXPECT_EQ(Drives.TypeOf(Drives.DriveOf(c.Path)), c.Type) << c.Path;
  }
  EXPECT_EQ(Drives.LogicalDrives(), (std::vector<std::string>{"C:\\", "D:\\"}));

  int64_t free = 0;
  ASSERT_TRUE(Drives.FreeSpace("C:\\Program Files", free));
  EXPECT_EQ(free, 100 << 20);
  ASSERT_TRUE(Drives.FreeSpace("d:", free));
  EXPECT_EQ(free, 1 << 30);
  Drives.SetUnmeasurable("D:");
  EXPECT_FALSE(Drives.FreeSpace("D:\\Games", free));
  EXPECT_FALSE(Drives.FreeSpace("Z:\\", free));
}

// ---- the other facilities -----------------------------------------------------------------

TEST_F(TFakeFixture, ProcessesRecordRequestsAndFollowTheirScript) {
  TFakeProcesses& processes = Scope->FakeProcesses();
  processes.SetNextRunPolls(2, 3);
  auto setup = TPlatform::Current().Processes().Start(Request("C:\\Dl\\QVBSetup.exe", "/VERYSILENT /DIR=\"C:\\A B\"", "C:\\Dl"));
  ASSERT_NE(setup, nullptr);
  EXPECT_TRUE(setup->IsRunning());
  EXPECT_EQ(setup->ExitCode(), 259);  // still active
  EXPECT_TRUE(setup->IsRunning());
  EXPECT_FALSE(setup->IsRunning());
  EXPECT_EQ(setup->ExitCode(), 3);

  processes.SetNextRunPolls(-1);
  auto browser = processes.Start(Request("C:\\B\\browser.exe"));
  EXPECT_TRUE(browser->IsRunning());
  processes.LastProcess().Finish(0);
  EXPECT_FALSE(browser->IsRunning());

  processes.FailStarts(ENOENT);
  int error = 0;
  EXPECT_EQ(processes.Start(Request("C:\\missing.exe"), &error), nullptr);
  EXPECT_EQ(error, ENOENT);
  ASSERT_EQ(processes.Started().size(), 3u);
  EXPECT_EQ(processes.Started()[0].Parameters, "/VERYSILENT /DIR=\"C:\\A B\"");
  EXPECT_EQ(processes.Started()[0].Folder, "C:\\Dl");

  processes.QueueShellResults({31});
  EXPECT_EQ(processes.ShellOpen(Request("https://example.test/")), 31);
  EXPECT_EQ(processes.ShellOpen(Request("https://example.test/")), 42);
  EXPECT_EQ(processes.ShellOpens().size(), 2u);
  EXPECT_THROW(processes.ExitNow(), TFakeExitNow);
  EXPECT_EQ(processes.ExitCalls(), 1);
}

TEST_F(TFakeFixture, EnvironmentNamesIgnoreCase) {
  TEnvironment& env = TPlatform::Current().Env();
  EXPECT_EQ(env.Get("appdata"), "C:\\Users\\TestUser\\AppData\\Roaming");
  env.Set("ProgramFiles(x86)", "D:\\PF");
  EXPECT_EQ(env.Get("PROGRAMFILES(X86)"), "D:\\PF");
  env.Unset("programfiles(x86)");
  EXPECT_FALSE(env.IsSet("ProgramFiles(x86)"));
  EXPECT_EQ(env.Get("ProgramFiles(x86)"), "");
}

TEST_F(TFakeFixture, LocksAreHeldOnceUntilReleased) {
  TInstanceLocks& locks = TPlatform::Current().Locks();
  auto first = locks.Acquire("_QVB1_Installer");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(locks.Acquire("_QVB1_Installer"), nullptr);
  first.reset();
  EXPECT_NE(locks.Acquire("_QVB1_Installer"), nullptr);
  Scope->FakeLocks().HoldElsewhere("_QVB1_Installer");
  EXPECT_EQ(locks.Acquire("_QVB1_Installer"), nullptr);

  auto fileLock = Files.TryLockExclusive("C:\\hive.lock");
  ASSERT_NE(fileLock, nullptr);
  int error = 0;
  EXPECT_EQ(Files.TryLockExclusive("c:\\HIVE.lock", &error), nullptr);
  EXPECT_EQ(error, EWOULDBLOCK);
  fileLock.reset();
  EXPECT_NE(Files.LockExclusive("C:\\hive.lock"), nullptr);
}

TEST(FakePlatformScope, InstallsTheFakeAndRestoresThePreviousPlatform) {
  TPlatform* before = &TPlatform::Current();
  {
    TFakePlatformScope outer;
    EXPECT_EQ(&TPlatform::Current(), &outer.Fake());
    {
      TFakePlatformScope inner;
      EXPECT_EQ(&TPlatform::Current(), &inner.Fake());
      DebugOut("inner line");
      EXPECT_EQ(inner->FakeDebug().Lines(), std::vector<std::string>{"inner line"});
    }
    EXPECT_EQ(&TPlatform::Current(), &outer.Fake());
    EXPECT_TRUE(outer->FakeDebug().Lines().empty());
    EXPECT_EQ(ExtractFilePath("C:\\a/b.txt"), "C:\\a/");  // Windows rules while the fake is current
  }
  EXPECT_EQ(&TPlatform::Current(), before);
  EXPECT_EQ(ExtractFilePath("C:\\a/b.txt"), "C:\\a/");
  EXPECT_EQ(ExtractFileName("dir/C:\\a"), "C:\\a");
}

// ---- path helpers, both separators ----------------------------------------------------------

TEST(Paths, SplitAndJoinOnEitherSeparator) {
  struct TCase {
    char Sep;
    const char* Path;
    const char* FilePath;
    const char* FileName;
    const char* FileDir;
    const char* FileExt;
  } cases[] = {
      {'\\', "C:\\Apps\\setup.exe", "C:\\Apps\\", "setup.exe", "C:\\Apps", ".exe"},
      {'\\', "C:\\setup.exe", "C:\\", "setup.exe", "C:\\", ".exe"},
      {'\\', "C:setup", "C:", "setup", "C:", ""},
      {'\\', "C:/a/b.tar.gz", "C:/a/", "b.tar.gz", "C:/a", ".gz"},
      {'\\', "name", "", "name", "", ""},
      {'\\', "\\\\server\\share\\f", "\\\\server\\share\\", "f", "\\\\server\\share", ""},
      {'/', "/var/lib/x.log", "/var/lib/", "x.log", "/var/lib", ".log"},
      {'/', "/x", "/", "x", "/", ""},
      {'/', "a\\b", "", "a\\b", "", ""},
      {'/', "/dir.d/file", "/dir.d/", "file", "/dir.d", ""},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(ExtractFilePath(c.Path, c.Sep), c.FilePath) << c.Path;
    EXPECT_EQ(ExtractFileName(c.Path, c.Sep), c.FileName) << c.Path;
    EXPECT_EQ(ExtractFileDir(c.Path, c.Sep), c.FileDir) << c.Path;
    EXPECT_EQ(ExtractFileExt(c.Path, c.Sep), c.FileExt) << c.Path;
  }
  EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\A", '\\'), "C:\\A\\");
  EXPECT_EQ(IncludeTrailingPathDelimiter("C:/A/", '\\'), "C:/A/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("", '/'), "/");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("C:\\A\\", '\\'), "C:\\A");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/a/b", '/'), "/a/b");
  EXPECT_EQ(JoinPath("C:\\A", "b.txt", '\\'), "C:\\A\\b.txt");
  EXPECT_EQ(JoinPath("/var/lib/", "/Registry", '/'), "/var/lib/Registry");
  EXPECT_EQ(JoinPath("", "b", '/'), "b");
  EXPECT_EQ(ChangeFileExt("C:\\d.x\\setup", ".dat", '\\'), "C:\\d.x\\setup.dat");
  EXPECT_EQ(ChangeFileExt("/d/QVBSetup.exe", ".exe.dat", '/'), "/d/QVBSetup.exe.dat");
}

}  // namespace
