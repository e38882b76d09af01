#include "platform/RegistryStore.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/RegFile.h"
#include "platform/TextCodec.h"
#include "platform/linux/LinuxFileSystem.h"

namespace fs = std::filesystem;

namespace {

TRegValue Sz(const std::string& text, TRegType type = TRegType::Sz) {
  TRegValue v;
  v.Type = type;
  v.Text = text;
  return v;
}

TRegValue Dword(uint32_t n) {
  TRegValue v;
  v.Type = TRegType::Dword;
  v.Dword = n;
  return v;
}

TRegValue Raw(TRegType type, const std::string& bytes) {
  TRegValue v;
  v.Type = type;
  v.Data = bytes;
  return v;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

// ---------------------------------------------------------------------------------------------
// The file form

const char kRoot[] = "HKEY_LOCAL_MACHINE";

TRegKey SampleTree() {
  TRegKey root;
  root.Name = kRoot;
  TRegKey* app = root.AddSubKey("SOFTWARE")->AddSubKey("Quenvo VPN Browser");
  app->SetValue("", Sz("default text"));
  app->SetValue("Path", Sz("C:\\Program Files\\\"Q\""));
  app->SetValue("Empty", Sz(""));
  app->SetValue("Unicode \xd0\x96", Sz("\xe2\x82\xac \xf0\x9f\x98\x80"));
  app->SetValue("Lines", Sz(std::string("one\r\ntwo\0three", 15)));
  app->SetValue("Expand", Sz("%ProgramFiles%\\Q", TRegType::ExpandSz));
  app->SetValue("Count", Dword(42));
  app->SetValue("Max", Dword(0xFFFFFFFF));
  app->SetValue("Blob", Raw(TRegType::Binary, std::string("\x00\xff\x10", 3)));
  app->SetValue("Multi", Raw(TRegType::MultiSz, std::string("a\0\0\0", 4)));
  app->SetValue("Big", Raw(TRegType::Qword, std::string(8, '\x01')));
  app->SetValue("@", Sz("a value named @, not the default"));
  app->AddSubKey("Empty Key");
  return root;
}

TEST(RegFileTest, EveryValueKindSurvivesTheFileForm) {
  const TRegKey tree = SampleTree();
  const std::string bytes = TRegFile::ToBytes(tree, kRoot);
  ASSERT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  TRegKey back;
  std::string error;
  ASSERT_TRUE(TRegFile::FromBytes(bytes, kRoot, back, &error)) << error;
  EXPECT_TRUE(back == tree);
  EXPECT_EQ(TRegFile::ToBytes(back, kRoot), bytes);
}

TEST(RegFileTest, WritesTheFormRegeditWrites) {
  TRegKey root;
  root.Name = kRoot;
  TRegKey* key = root.AddSubKey("SOFTWARE")->AddSubKey("Q");
  key->SetValue("", Sz("d"));
  key->SetValue("Path", Sz("C:\\a \"b\""));
  key->SetValue("Count", Dword(42));
  key->SetValue("Exp", Sz("%A%", TRegType::ExpandSz));
  key->SetValue("Line", Sz("a\nb"));
  EXPECT_EQ(TRegFile::Format(root, kRoot),
            "Windows Registry Editor Version 5.00\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Q]\r\n"
            "@=\"d\"\r\n"
            "\"Path\"=\"C:\\\\a \\\"b\\\"\"\r\n"
            "\"Count\"=dword:0000002a\r\n"
            "\"Exp\"=hex(2):25,00,41,00,25,00,00,00\r\n"
            "\"Line\"=hex(1):61,00,0a,00,62,00,00,00\r\n\r\n");
  // The bytes on disk are that text in UTF-16 LE after a byte-order mark.
  EXPECT_EQ(TRegFile::ToBytes(root, kRoot), EncodeUtf16Le(TRegFile::Format(root, kRoot), true));
}

TEST(RegFileTest, LongHexDataWrapsAndReadsBack) {
  TRegKey root;
  root.Name = kRoot;
  std::string bytes;
  for (int i = 0; i < 300; ++i) bytes += char(i);
  root.AddSubKey("K")->SetValue("Data", Raw(TRegType::Binary, bytes));
  const std::string text = TRegFile::Format(root, kRoot);
  for (const auto& line : SplitLines(text)) EXPECT_LE(line.size(), 80u) << line;
  EXPECT_NE(text.find(",\\\r\n  "), std::string::npos);
  TRegKey back;
  ASSERT_TRUE(TRegFile::Parse(text, kRoot, back));
  EXPECT_EQ(back.FindSubKey("k")->FindValue("DATA")->Data, bytes);
}

TEST(RegFileTest, ReadsHandWrittenAndRegeditFiles) {
  const std::string text =
      "\r\nWindows Registry Editor Version 5.00\n"
      "; a comment\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Vendor]\n"
      "\"Dir\"=\"C:\\Program Files\\Vendor\"\n"  // unescaped backslashes stay literal
      "\"N\" = DWORD:FFFFFFFF\n"
      "\"Exp\"=hex(2):25,00,41,00,\\\n"
      "  25,00,00,00\n"
      "\"Bin\"=hex:\n"
      "\n"
      "[hkey_local_machine\\SOFTWARE\\VENDOR\\Sub]\n"  // same key, other case: the first case stays
      "@=\"x\"\n";
  TRegKey root;
  std::string error;
  ASSERT_TRUE(TRegFile::Parse(text, kRoot, root, &error)) << error;
  ASSERT_EQ(root.SubKeys.size(), 1u);
  TRegKey* vendor = root.FindSubKey("software")->FindSubKey("vendor");
  ASSERT_NE(vendor, nullptr);
  EXPECT_EQ(root.FindSubKey("SOFTWARE")->Name, "Software");
  EXPECT_EQ(vendor->Name, "Vendor");
  EXPECT_EQ(vendor->FindValue("dir")->Text, "C:\\Program Files\\Vendor");
  EXPECT_EQ(vendor->FindValue("n")->Dword, 0xFFFFFFFFu);
  EXPECT_EQ(vendor->FindValue("Exp")->Type, TRegType::ExpandSz);
  EXPECT_EQ(vendor->FindValue("Exp")->Text, "%A%");
  EXPECT_EQ(vendor->FindValue("Bin")->Type, TRegType::Binary);
  EXPECT_EQ(vendor->FindSubKey("SUB")->FindValue("")->Text, "x");
}

TEST(RegFileTest, EmptyInputIsAnEmptyHive) {
  for (const std::string& bytes : {std::string(), std::string("\xFF\xFE"), std::string(" \r\n\r\n")}) {
    TRegKey root;
    EXPECT_TRUE(TRegFile::FromBytes(bytes, kRoot, root));
    EXPECT_TRUE(root.SubKeys.empty() && root.Values.empty());
  }
}

TEST(RegFileTest, RefusesWhatItCannotRead) {
  const std::string header = "Windows Registry Editor Version 5.00\r\n";
  const std::string deep = [] {
    std::string path = "[HKEY_LOCAL_MACHINE";
    for (size_t i = 0; i <= TRegFile::MaxDepth; ++i) path += "\\k";
    return path + "]";
  }();
  const struct {
    const char* What;
    std::string Text;
  } cases[] = {
      {"no header", "[HKEY_LOCAL_MACHINE\\A]\r\n"},
      {"old header", "REGEDIT4\r\n"},
      {"garbage line", header + "[HKEY_LOCAL_MACHINE\\A]\r\ngarbage\r\n"},
      {"value before a section", header + "\"a\"=\"b\"\r\n"},
      {"other root", header + "[HKEY_CURRENT_USER\\A]\r\n"},
      {"deletion section", header + "[-HKEY_LOCAL_MACHINE\\A]\r\n"},
      {"unterminated section", header + "[HKEY_LOCAL_MACHINE\\A\r\n"},
      {"unterminated string", header + "[HKEY_LOCAL_MACHINE\\A]\r\n\"a\"=\"b\r\n"},
      {"unterminated name", header + "[HKEY_LOCAL_MACHINE\\A]\r\n\"a=\"b\"\r\n"},
      {"text after string", header + "[HKEY_LOCAL_MACHINE\\A]\r\n\"a\"=\"b\" c\r\n"},
      {"value deletion", header + "[HKEY_LOCAL_MACHINE\\A]\r\n\"a\"=-\r\n"},
      {"bad dword", header + "[HKEY_LOCAL_MACHINE\\A]\r\n\"a\"=dword:xyz\r\n"},
      {"long dword", header + "[HKEY_LOCAL_MACHINE\\A]\r\n\"a\"=dword:123456789\r\n"},
      {"bad hex byte", header + "[HKEY_LOCAL_MACHINE\\A]\r\n\"a\"=hex:1g\r\n"},
      {"three-digit byte", header + "[HKEY_LOCAL_MACHINE\\A]\r\n\"a\"=hex:123\r\n"},
      {"empty byte", header + "[HKEY_LOCAL_MACHINE\\A]\r\n\"a\"=hex:01,,02\r\n"},
      {"odd UTF-16", header + "[HKEY_LOCAL_MACHINE\\A]\r\n\"a\"=hex(2):41,00,42\r\n"},
      {"short dword", header + "[HKEY_LOCAL_MACHINE\\A]\r\n\"a\"=hex(4):01,02\r\n"},
      {"continued past the end", header + "[HKEY_LOCAL_MACHINE\\A]\r\n\"a\"=hex:01,\\\r\n"},
      {"too deep", header + deep + "\r\n"},
      {"key name too long", header + "[HKEY_LOCAL_MACHINE\\" + std::string(256, 'k') + "]\r\n"},
  };
  for (const auto& c : cases) {
    TRegKey root;
    std::string error;
    EXPECT_FALSE(TRegFile::Parse(c.Text, kRoot, root, &error)) << c.What;
    EXPECT_NE(error.find("line "), std::string::npos) << c.What;
  }
}

// ---------------------------------------------------------------------------------------------
// The store on real files

class RegistryStoreTest : public ::testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/qvb-registry-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    FDir = pattern;
    FMachine = FDir + "/var/lib/Registry/machine.reg";
    FUser = FDir + "/home/.config/Registry/user.reg";
    FStore = std::make_unique<TRegistryStore>(FFiles, FMachine, FUser);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(FDir, ignored);
  }
  // A second store on the same files, as another process would see them.
  std::unique_ptr<TRegistryStore> Reopened() { return std::make_unique<TRegistryStore>(FFiles, FMachine, FUser); }
  std::string ReadString(TRegistryStore& store, TRootKey root, const std::string& path, const std::string& name,
                         bool view32 = false) {
    TRegValue v;
    return store.ReadValue(root, path, name, v, view32) ? v.Text : "<missing>";
  }

  TLinuxFileSystem FFiles;
  std::string FDir, FMachine, FUser;
  std::unique_ptr<TRegistryStore> FStore;
};

TEST_F(RegistryStoreTest, ValuesReachTheHiveFileAndReadBack) {
  const TRegKey sample = SampleTree();
  const TRegKey* app = sample.FindSubKey("SOFTWARE")->FindSubKey("Quenvo VPN Browser");
  for (const auto& [name, value] : app->Values)
    ASSERT_TRUE(FStore->WriteValue(TRootKey::LocalMachine, "SOFTWARE\\Quenvo VPN Browser", name, value));
  ASSERT_TRUE(FStore->CreateKey(TRootKey::LocalMachine, "SOFTWARE\\Quenvo VPN Browser\\Empty Key"));

  TRegKey onDisk;
  ASSERT_TRUE(TRegFile::FromBytes(ReadBytes(FMachine), kRoot, onDisk));
  EXPECT_TRUE(onDisk == sample);
  auto other = Reopened();
  for (const auto& [name, value] : app->Values) {
    TRegValue v;
    ASSERT_TRUE(other->ReadValue(TRootKey::LocalMachine, "\\software\\QUENVO VPN BROWSER", name, v)) << name;
    EXPECT_EQ(v, value) << name;
  }
  EXPECT_FALSE(fs::exists(FUser));  // nothing went to the other hive
}

TEST_F(RegistryStoreTest, PathsIgnoreCaseAndKeepTheFirstWrittenCase) {
  ASSERT_TRUE(FStore->WriteValue(TRootKey::CurrentUser, "Software\\Quenvo VPN Browser", "InstallFinished", Dword(1)));
  ASSERT_TRUE(FStore->WriteValue(TRootKey::CurrentUser, "SOFTWARE\\QUENVO VPN BROWSER", "STATUS", Dword(2)));
  ASSERT_TRUE(FStore->WriteValue(TRootKey::CurrentUser, "software\\quenvo vpn browser\\", "installfinished", Dword(3)));

  TRegValue v;
  ASSERT_TRUE(FStore->ReadValue(TRootKey::CurrentUser, "\\SOFTWARE\\Quenvo VPN Browser", "InstallFinished", v));
  EXPECT_EQ(v.Dword, 3u);
  EXPECT_EQ(FStore->SubKeys(TRootKey::CurrentUser, "SOFTWARE"), std::vector<std::string>{"Quenvo VPN Browser"});
  EXPECT_EQ(FStore->ValueNames(TRootKey::CurrentUser, "Software\\Quenvo VPN Browser"),
            (std::vector<std::string>{"InstallFinished", "STATUS"}));
  const std::string text = DecodeText(ReadBytes(FUser));
  EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Quenvo VPN Browser]\r\n\"InstallFinished\"=dword:00000003"),
            std::string::npos) << text;
}

TEST_F(RegistryStoreTest, KeysAndValuesGoAway) {
  ASSERT_TRUE(FStore->WriteValue(TRootKey::CurrentUser, "A\\B\\C", "v", Sz("x")));
  ASSERT_TRUE(FStore->WriteValue(TRootKey::CurrentUser, "A", "keep", Sz("y")));

  EXPECT_FALSE(FStore->WriteValue(TRootKey::CurrentUser, "A\\Missing", "v", Sz("x"), false, false));
  EXPECT_EQ(FStore->LastError(), ENOENT);
  EXPECT_FALSE(FStore->KeyExists(TRootKey::CurrentUser, "A\\Missing"));

  EXPECT_TRUE(FStore->DeleteValue(TRootKey::CurrentUser, "a\\b\\c", "V"));
  EXPECT_FALSE(FStore->DeleteValue(TRootKey::CurrentUser, "a\\b\\c", "V"));
  EXPECT_EQ(FStore->LastError(), ENOENT);
  EXPECT_TRUE(FStore->DeleteKey(TRootKey::CurrentUser, "a\\B"));  // with its sub-key C
  EXPECT_FALSE(FStore->KeyExists(TRootKey::CurrentUser, "A\\B\\C"));
  EXPECT_FALSE(FStore->DeleteKey(TRootKey::CurrentUser, "A\\B"));
  EXPECT_EQ(FStore->LastError(), ENOENT);
  EXPECT_FALSE(FStore->DeleteKey(TRootKey::CurrentUser, "\\"));  // a root stays
  EXPECT_EQ(ReadString(*Reopened(), TRootKey::CurrentUser, "A", "keep"), "y");
}

TEST_F(RegistryStoreTest, NamesTheFileCannotHoldAreRefused) {
  const std::string longName(256, 'k');
  EXPECT_FALSE(FStore->WriteValue(TRootKey::CurrentUser, "A", "two\nlines", Sz("x")));
  EXPECT_EQ(FStore->LastError(), EINVAL);
  EXPECT_FALSE(FStore->WriteValue(TRootKey::CurrentUser, "A\\" + longName, "v", Sz("x")));
  EXPECT_EQ(FStore->LastError(), EINVAL);
  EXPECT_FALSE(FStore->CreateKey(TRootKey::CurrentUser, "A\\bad\rname"));
  EXPECT_FALSE(FStore->WriteValue(TRootKey::CurrentUser, "A", "v", TRegValue{}));  // no type
  EXPECT_FALSE(fs::exists(FUser));
}

TEST_F(RegistryStoreTest, ClassesRootMergesBothHives) {
  const std::string clsid = "CLSID\\{1448035D-2AAB-4749-825E-212695AF6E55}";
  ASSERT_TRUE(FStore->WriteValue(TRootKey::LocalMachine, "SOFTWARE\\Classes\\" + clsid, "AppID", Sz("machine id")));
  ASSERT_TRUE(FStore->WriteValue(TRootKey::LocalMachine, "SOFTWARE\\Classes\\" + clsid, "AppKey", Sz("machine key")));
  ASSERT_TRUE(FStore->WriteValue(TRootKey::LocalMachine, "SOFTWARE\\Classes\\MachineOnly", "v", Sz("m")));
  ASSERT_TRUE(FStore->WriteValue(TRootKey::CurrentUser, "Software\\Classes\\" + clsid, "AppID", Sz("user id")));
  ASSERT_TRUE(FStore->CreateKey(TRootKey::CurrentUser, "Software\\Classes\\UserOnly"));

  EXPECT_EQ(ReadString(*FStore, TRootKey::ClassesRoot, clsid, "AppID"), "user id");
  EXPECT_EQ(ReadString(*FStore, TRootKey::ClassesRoot, clsid, "AppKey"), "machine key");
  EXPECT_EQ(FStore->ValueNames(TRootKey::ClassesRoot, clsid), (std::vector<std::string>{"AppID", "AppKey"}));
  EXPECT_EQ(FStore->SubKeys(TRootKey::ClassesRoot, ""), (std::vector<std::string>{"CLSID", "MachineOnly", "UserOnly"}));

  // A write lands where the key is, so the value written is the value read back.
  ASSERT_TRUE(FStore->WriteValue(TRootKey::ClassesRoot, clsid, "AppID", Sz("new id")));
  EXPECT_EQ(ReadString(*FStore, TRootKey::ClassesRoot, clsid, "AppID"), "new id");
  EXPECT_EQ(ReadString(*FStore, TRootKey::CurrentUser, "Software\\Classes\\" + clsid, "AppID"), "new id");
  ASSERT_TRUE(FStore->WriteValue(TRootKey::ClassesRoot, "MachineOnly", "w", Sz("2")));
  EXPECT_EQ(ReadString(*FStore, TRootKey::LocalMachine, "SOFTWARE\\Classes\\MachineOnly", "w"), "2");
  ASSERT_TRUE(FStore->WriteValue(TRootKey::ClassesRoot, "NewKey", "v", Sz("3")));  // new keys: machine
  EXPECT_EQ(ReadString(*FStore, TRootKey::LocalMachine, "SOFTWARE\\Classes\\NewKey", "v"), "3");

  // A delete leaves no copy behind in either hive.
  ASSERT_TRUE(FStore->WriteValue(TRootKey::LocalMachine, "SOFTWARE\\Classes\\" + clsid, "AppID", Sz("machine id")));
  ASSERT_TRUE(FStore->DeleteValue(TRootKey::ClassesRoot, clsid, "AppID"));
  EXPECT_EQ(ReadString(*FStore, TRootKey::ClassesRoot, clsid, "AppID"), "<missing>");
  ASSERT_TRUE(FStore->DeleteKey(TRootKey::ClassesRoot, "CLSID"));
  EXPECT_FALSE(FStore->KeyExists(TRootKey::ClassesRoot, clsid));
  EXPECT_TRUE(FStore->KeyExists(TRootKey::ClassesRoot, ""));
}

TEST_F(RegistryStoreTest, The32BitViewMapsSoftwareToWow6432Node) {
  const struct {
    TRootKey Root;
    const char* Path;
    const char* Stored;  // where the 32-bit view's write lands in the 64-bit view
  } cases[] = {
      {TRootKey::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Q_is1",
       "SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Q_is1"},
      {TRootKey::LocalMachine, "\\software\\Vendor", "SOFTWARE\\WOW6432Node\\Vendor"},
      {TRootKey::LocalMachine, "SOFTWARE\\WOW6432Node\\Already", "SOFTWARE\\WOW6432Node\\Already"},
      {TRootKey::LocalMachine, "SOFTWARE\\Classes\\Shared", "SOFTWARE\\Classes\\Shared"},
      {TRootKey::LocalMachine, "SOFTWARE\\Microsoft\\OLE\\Shared", "SOFTWARE\\Microsoft\\OLE\\Shared"},
      {TRootKey::LocalMachine, "SOFTWARE\\Microsoft\\OLEX", "SOFTWARE\\WOW6432Node\\Microsoft\\OLEX"},
      {TRootKey::LocalMachine, "SYSTEM\\Setup", "SYSTEM\\Setup"},
      {TRootKey::CurrentUser, "Software\\Vendor", "Software\\Vendor"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(FStore->WriteValue(c.Root, c.Path, "v", Sz(c.Path), true)) << c.Path;
    EXPECT_EQ(ReadString(*FStore, c.Root, c.Stored, "v"), c.Path) << c.Path;
    EXPECT_EQ(ReadString(*FStore, c.Root, c.Path, "v", true), c.Path) << c.Path;
  }
  // The 64-bit view's own key is another key.
  EXPECT_EQ(ReadString(*FStore, TRootKey::LocalMachine, "SOFTWARE\\Vendor", "v"), "<missing>");
}

TEST_F(RegistryStoreTest, ACorruptHiveIsKeptAsideNotReplaced) {
  const std::string garbage = "this is not a registry file\r\n[oops\r\n";
  WriteBytes(FMachine, garbage);

  TRegValue v;
  EXPECT_FALSE(FStore->ReadValue(TRootKey::LocalMachine, "SOFTWARE\\Q", "v", v));
  EXPECT_EQ(FStore->LastError(), EBADMSG);
  EXPECT_FALSE(FStore->KeyExists(TRootKey::LocalMachine, "SOFTWARE"));
  EXPECT_EQ(FStore->LastError(), EBADMSG);
  EXPECT_FALSE(FStore->DeleteValue(TRootKey::LocalMachine, "SOFTWARE\\Q", "v"));
  EXPECT_EQ(ReadBytes(FMachine), garbage);  // reads and no-op deletes leave it alone

  ASSERT_TRUE(FStore->WriteValue(TRootKey::LocalMachine, "SOFTWARE\\Q", "v", Sz("new")));
  EXPECT_EQ(ReadBytes(FMachine + ".corrupt-1"), garbage);
  EXPECT_EQ(ReadString(*FStore, TRootKey::LocalMachine, "SOFTWARE\\Q", "v"), "new");

  // A second corruption does not overwrite the first one kept aside.
  WriteBytes(FMachine, "garbage 2");
  ASSERT_TRUE(FStore->CreateKey(TRootKey::LocalMachine, "SOFTWARE\\Other"));
  EXPECT_EQ(ReadBytes(FMachine + ".corrupt-1"), garbage);
  EXPECT_EQ(ReadBytes(FMachine + ".corrupt-2"), "garbage 2");
  EXPECT_FALSE(FStore->KeyExists(TRootKey::LocalMachine, "SOFTWARE\\Q"));
}

TEST_F(RegistryStoreTest, AHiveThatCannotBeReadIsNeverWrittenOver) {
  // A folder where the hive file should be: unreadable even for root.
  fs::create_directories(FMachine);
  fs::create_directories(FMachine + "/content");
  EXPECT_FALSE(FStore->WriteValue(TRootKey::LocalMachine, "SOFTWARE\\Q", "v", Sz("x")));
  EXPECT_NE(FStore->LastError(), 0);
  EXPECT_TRUE(fs::is_directory(FMachine + "/content"));
  EXPECT_FALSE(fs::exists(FMachine + ".corrupt-1"));
  // The other hive is unaffected.
  EXPECT_TRUE(FStore->WriteValue(TRootKey::CurrentUser, "Software\\Q", "v", Sz("x")));
}

// Several processes write distinct values into one hive at once; none is lost.
TEST_F(RegistryStoreTest, ConcurrentWritersLoseNothing) {
  constexpr int kWriters = 4, kValues = 24;
  std::vector<pid_t> children;
  for (int w = 0; w < kWriters; ++w) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      TLinuxFileSystem files;
      TRegistryStore store(files, FMachine, FUser);
      bool ok = true;
      for (int i = 0; i < kValues; ++i) {
        const std::string name = "w" + std::to_string(w) + "v" + std::to_string(i);
        ok = store.WriteValue(TRootKey::LocalMachine, "SOFTWARE\\Shared", name, Dword(uint32_t(w * 1000 + i))) && ok;
        // Keys too, in a hive both processes rewrite.
        if (i % 8 == 0) ok = store.CreateKey(TRootKey::LocalMachine, "SOFTWARE\\Shared\\" + name) && ok;
      }
      _exit(ok ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  auto store = Reopened();
  EXPECT_EQ(store->ValueNames(TRootKey::LocalMachine, "SOFTWARE\\Shared").size(), size_t(kWriters * kValues));
  EXPECT_EQ(store->SubKeys(TRootKey::LocalMachine, "SOFTWARE\\Shared").size(), size_t(kWriters * kValues / 8));
  for (int w = 0; w < kWriters; ++w) {
    for (int i = 0; i < kValues; ++i) {
      TRegValue v;
      ASSERT_TRUE(store->ReadValue(TRootKey::LocalMachine, "SOFTWARE\\Shared", "w" + std::to_string(w) + "v" + std::to_string(i), v));
      EXPECT_EQ(v.Dword, uint32_t(w * 1000 + i));
    }
  }
}

// A writer killed at any moment leaves a hive that parses and holds a state that was saved:
// each step writes the value "V<n>" and then "Counter" = n + 1.
TEST_F(RegistryStoreTest, AWriterKilledMidSaveLeavesASavedState) {
  const std::string blob(4096, 'b');
  uint32_t lastCounter = 0;
  for (int round = 0; round < 6; ++round) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      TLinuxFileSystem files;
      TRegistryStore store(files, FMachine, FUser);
      TRegValue counter;
      uint32_t n = store.ReadValue(TRootKey::LocalMachine, "SOFTWARE\\Steps", "Counter", counter) ? counter.Dword : 0;
      for (;; ++n) {
        if (!store.WriteValue(TRootKey::LocalMachine, "SOFTWARE\\Steps", "V" + std::to_string(n), Sz(blob)) ||
            !store.WriteValue(TRootKey::LocalMachine, "SOFTWARE\\Steps", "Counter", Dword(n + 1)))
          _exit(1);
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(40 + 37 * round));
    ASSERT_EQ(kill(pid, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer failed by itself";

    TRegKey hive;
    std::string error;
    ASSERT_TRUE(TRegFile::FromBytes(ReadBytes(FMachine), kRoot, hive, &error)) << error;
    // Killed before its first save, the writer leaves no key (and no counter) at all.
    const TRegKey* software = hive.FindSubKey("SOFTWARE");
    const TRegKey* steps = software ? software->FindSubKey("Steps") : nullptr;
    const TRegValue* counter = steps ? steps->FindValue("Counter") : nullptr;
    const uint32_t c = counter ? counter->Dword : 0;
    EXPECT_GE(c, lastCounter);
    lastCounter = c;
    for (uint32_t i = 0; i < c; ++i) ASSERT_NE(steps->FindValue("V" + std::to_string(i)), nullptr) << i;
    if (steps) EXPECT_EQ(steps->FindValue("V" + std::to_string(c + 1)), nullptr);
    EXPECT_FALSE(fs::exists(FMachine + ".corrupt-1"));
  }
  EXPECT_GT(lastCounter, 0u);
  // The dead writer's lock went with it.
  EXPECT_TRUE(Reopened()->WriteValue(TRootKey::LocalMachine, "SOFTWARE\\Steps", "After", Dword(1)));
}

// ---------------------------------------------------------------------------------------------
// qvbtool reg, run as a program in a throw-away root

class QvbtoolRegTest : public RegistryStoreTest {
protected:
  struct TRun {
    int Exit{-1};
    std::string Out, Err;
  };
  TRun Run(const std::vector<std::string>& args) {
    std::string command = "env QVB_SYSROOT='" + FDir + "/root' HOME='" + FDir + "/home' XDG_CONFIG_HOME='" + FDir +
                          "/home/.config' XDG_DATA_HOME='" + FDir + "/home/.local/share' TMPDIR='" + FDir + "/' " +
                          QVBTOOL_PATH;
    for (const auto& a : args) command += " '" + a + "'";
    command += " >'" + FDir + "/out' 2>'" + FDir + "/err'";
    TRun run;
    const int status = std::system(command.c_str());
    run.Exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Out = ReadBytes(FDir + "/out");
    run.Err = ReadBytes(FDir + "/err");
    return run;
  }
};

TEST_F(QvbtoolRegTest, AddQueryDeleteInTheStyleOfRegExe) {
  const std::string key = "HKCU\\Software\\Quenvo VPN Browser";
  EXPECT_EQ(Run({"reg", "add", key, "/v", "Path", "/t", "REG_SZ", "/d", "C:\\a \"b\""}).Exit, 0);
  EXPECT_EQ(Run({"reg", "add", key, "/v", "InstallFinished", "/t", "REG_DWORD", "/d", "1"}).Exit, 0);
  EXPECT_EQ(Run({"reg", "add", key, "/v", "Status", "/t", "reg_dword", "/d", "0x2A"}).Exit, 0);
  EXPECT_EQ(Run({"reg", "add", key, "/ve", "/t", "REG_EXPAND_SZ", "/d", "%TEMP%"}).Exit, 0);
  EXPECT_EQ(Run({"reg", "add", key + "\\Sub"}).Exit, 0);

  TRun q = Run({"reg", "query", "hkey_current_user\\software\\quenvo vpn browser"});
  EXPECT_EQ(q.Exit, 0) << q.Err;
  EXPECT_EQ(q.Out,
            "\nHKEY_CURRENT_USER\\software\\quenvo vpn browser\n"
            "    Path    REG_SZ    C:\\a \"b\"\n"
            "    InstallFinished    REG_DWORD    0x1\n"
            "    Status    REG_DWORD    0x2a\n"
            "    (Default)    REG_EXPAND_SZ    %TEMP%\n"
            "\n"
            "HKEY_CURRENT_USER\\software\\quenvo vpn browser\\Sub\n");
  q = Run({"reg", "query", key, "/v", "status"});
  EXPECT_EQ(q.Exit, 0);
  EXPECT_EQ(q.Out, "\nHKEY_CURRENT_USER\\Software\\Quenvo VPN Browser\n    Status    REG_DWORD    0x2a\n\n");

  // The 32-bit view of the machine hive is its own place.
  EXPECT_EQ(Run({"reg", "add", "HKLM\\SOFTWARE\\Vendor", "/v", "v", "/d", "32", "/reg:32"}).Exit, 0);
  EXPECT_EQ(Run({"reg", "query", "HKLM\\SOFTWARE\\WOW6432Node\\Vendor", "/v", "v"}).Exit, 0);
  EXPECT_EQ(Run({"reg", "query", "HKLM\\SOFTWARE\\Vendor", "/v", "v"}).Exit, 1);
  bool machineHiveInRoot = false;
  for (auto& entry : fs::recursive_directory_iterator(FDir + "/root"))
    machineHiveInRoot = machineHiveInRoot || entry.path().extension() == ".reg";
  EXPECT_TRUE(machineHiveInRoot);

  EXPECT_EQ(Run({"reg", "delete", key, "/v", "Path"}).Exit, 0);
  TRun missing = Run({"reg", "delete", key, "/v", "Path"});
  EXPECT_EQ(missing.Exit, 1);
  EXPECT_EQ(std::count(missing.Err.begin(), missing.Err.end(), '\n'), 1) << missing.Err;
  EXPECT_EQ(Run({"reg", "delete", key}).Exit, 0);
  missing = Run({"reg", "query", key});
  EXPECT_EQ(missing.Exit, 1);
  EXPECT_EQ(std::count(missing.Err.begin(), missing.Err.end(), '\n'), 1) << missing.Err;
  EXPECT_EQ(Run({"reg", "query", key, "/v", "Status"}).Exit, 1);
}

TEST_F(QvbtoolRegTest, WrongArgumentsExitTwoWithOneLine) {
  const std::vector<std::vector<std::string>> cases = {
      {"reg"},
      {"reg", "frob", "HKCU\\X"},
      {"reg", "query"},
      {"reg", "query", "HKU\\X"},
      {"reg", "query", "Software\\X"},
      {"reg", "add", "HKCU\\X", "/v"},
      {"reg", "add", "HKCU\\X", "/v", "n", "/t", "REG_DWORD", "/d", "abc"},
      {"reg", "add", "HKCU\\X", "/v", "n", "/t", "REG_DWORD", "/d", "4294967296"},
      {"reg", "add", "HKCU\\X", "/v", "n", "/t", "REG_DWORD", "/d", "-1"},
      {"reg", "add", "HKCU\\X", "/v", "n", "/t", "REG_BINARY", "/d", "00"},
      {"reg", "add", "HKCU\\X", "/d", "no name"},
      {"reg", "add", "HKCU\\X", "/v", "a", "/ve"},
      {"reg", "query", "HKCU\\X", "/reg:32", "/reg:64"},
      {"reg", "query", "HKCU\\X", "/t", "REG_SZ"},
      {"reg", "delete", "HKCU"},
  };
  for (const auto& args : cases) {
    const TRun run = Run(args);
    std::string joined;
    for (const auto& a : args) joined += a + " ";
    EXPECT_EQ(run.Exit, 2) << joined << run.Err;
    EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << joined << run.Err;
    EXPECT_EQ(run.Err.rfind("qvbtool: ", 0), 0u) << joined << run.Err;
  }
  for (auto& entry : fs::recursive_directory_iterator(FDir))
    EXPECT_NE(entry.path().extension(), ".reg") << entry.path();
}

}  // namespace
