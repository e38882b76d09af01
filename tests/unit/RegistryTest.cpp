#include "support/Registry.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "platform/RegistryStore.h"
#include "platform/linux/LinuxFileSystem.h"

namespace fs = std::filesystem;

namespace {

class RegistryTest : public ::testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/qvb-tregistry-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    FDir = pattern;
    FStore = std::make_unique<TRegistryStore>(FFiles, FDir + "/machine/machine.reg", FDir + "/user/user.reg");
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(FDir, ignored);
  }
  // The message of the ERegistryException that action throws; "" when it throws none.
  template <class F>
  static std::string Thrown(F&& action) {
    try {
      action();
    } catch (const ERegistryException& e) {
      return e.what();
    }
    return "";
  }

  TLinuxFileSystem FFiles;
  std::string FDir;
  std::unique_ptr<TRegistryStore> FStore;
};

TEST_F(RegistryTest, StartsOnTheUserHiveWithFullAccess) {
  TRegistry reg(*FStore);
  EXPECT_EQ(reg.RootKey(), HKEY_CURRENT_USER);
  EXPECT_EQ(reg.Access(), 0xF003Fu);
  EXPECT_FALSE(reg.KeyOpen());
}

TEST_F(RegistryTest, OpenKeyResolvesAbsoluteAndRelativePaths) {
  TRegistry reg(*FStore);
  EXPECT_FALSE(reg.OpenKey("Software\\Quenvo VPN Browser", false));  // missing, not created
  EXPECT_FALSE(reg.KeyExists("Software\\Quenvo VPN Browser"));
  ASSERT_TRUE(reg.OpenKey("Software\\Quenvo VPN Browser", true));
  EXPECT_EQ(reg.CurrentPath(), "Software\\Quenvo VPN Browser");

  ASSERT_TRUE(reg.OpenKey("Sub", true));  // below the open key
  EXPECT_EQ(reg.CurrentPath(), "Software\\Quenvo VPN Browser\\Sub");
  EXPECT_TRUE(FStore->KeyExists(TRootKey::CurrentUser, "Software\\Quenvo VPN Browser\\Sub"));
  EXPECT_FALSE(reg.KeyExists("Sub"));  // relative again: ...\Sub\Sub
  EXPECT_TRUE(reg.KeyExists("\\SOFTWARE\\quenvo vpn browser"));

  ASSERT_TRUE(reg.OpenKey("\\Software", false));  // from the root
  EXPECT_EQ(reg.CurrentPath(), "Software");
  EXPECT_EQ(reg.GetKeyNames(), std::vector<std::string>{"Quenvo VPN Browser"});
  EXPECT_TRUE(reg.HasSubKeys());

  reg.SetRootKey(HKEY_LOCAL_MACHINE);  // closes the key
  EXPECT_FALSE(reg.KeyOpen());
  EXPECT_EQ(reg.ReadString("anything"), "");
  EXPECT_FALSE(reg.OpenKey("Software\\Quenvo VPN Browser", false));  // another hive

  reg.SetRootKey(0x80000003u);  // HKEY_USERS: not kept by this store
  EXPECT_FALSE(reg.OpenKey("Software", true));
}

TEST_F(RegistryTest, ValuesOfEveryKind) {
  TRegistry reg(*FStore);
  ASSERT_TRUE(reg.OpenKey("Software\\Q", true));
  reg.WriteString("Name", "C:\\Program Files\\Q");
  reg.WriteExpandString("Expand", "%TEMP%\\q");
  reg.WriteInteger("InstallFinished", 1);
  reg.WriteInteger("Negative", -5);
  reg.WriteString("", "default");

  EXPECT_EQ(reg.ReadString("name"), "C:\\Program Files\\Q");
  EXPECT_EQ(reg.ReadString("Expand"), "%TEMP%\\q");
  EXPECT_EQ(reg.ReadString(""), "default");
  EXPECT_EQ(reg.ReadString("Missing"), "");
  EXPECT_EQ(reg.ReadInteger("InstallFinished"), 1);
  EXPECT_EQ(reg.ReadInteger("Negative"), -5);
  EXPECT_TRUE(reg.ValueExists("INSTALLFINISHED"));
  EXPECT_FALSE(reg.ValueExists("Missing"));

  const struct {
    const char* Name;
    TRegDataType Type;
  } types[] = {{"Name", TRegDataType::rdString}, {"Expand", TRegDataType::rdExpandString},
               {"InstallFinished", TRegDataType::rdInteger}, {"Missing", TRegDataType::rdUnknown}};
  for (const auto& t : types) EXPECT_EQ(reg.GetDataType(t.Name), t.Type) << t.Name;

  EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"Name", "Expand", "InstallFinished", "Negative", ""}));
  EXPECT_TRUE(reg.DeleteValue("Negative"));
  EXPECT_FALSE(reg.DeleteValue("Negative"));
  EXPECT_FALSE(reg.ValueExists("Negative"));

  // Another reader of the same hive sees the values at once: writes are not held back.
  TRegistry other(*FStore);
  ASSERT_TRUE(other.OpenKeyReadOnly("SOFTWARE\\q"));
  EXPECT_EQ(other.ReadInteger("InstallFinished"), 1);
}

TEST_F(RegistryTest, ReadsOfTheWrongKindThrowWithTheValueName) {
  TRegistry reg(*FStore);
  ASSERT_TRUE(reg.OpenKey("Software\\Q", true));
  reg.WriteInteger("Status", 2);
  reg.WriteString("Text", "2");
  TRegValue empty;
  empty.Type = TRegType::Binary;
  ASSERT_TRUE(FStore->WriteValue(TRootKey::CurrentUser, "Software\\Q", "EmptyBinary", empty));
  TRegValue bytes = empty;
  bytes.Data = "\x01";
  ASSERT_TRUE(FStore->WriteValue(TRootKey::CurrentUser, "Software\\Q", "Binary", bytes));

  EXPECT_EQ(Thrown([&] { reg.ReadString("Status"); }), "Invalid data type for 'Status'");
  EXPECT_EQ(Thrown([&] { reg.ReadString("Binary"); }), "Invalid data type for 'Binary'");
  EXPECT_EQ(Thrown([&] { EXPECT_EQ(reg.ReadString("EmptyBinary"), ""); }), "");  // no data, no type check
  EXPECT_EQ(Thrown([&] { reg.ReadInteger("Text"); }), "Invalid data type for 'Text'");
  EXPECT_EQ(Thrown([&] { reg.ReadInteger("Missing"); }), "Failed to get data for 'Missing'");
}

TEST_F(RegistryTest, FailedWritesThrowWithTheValueName) {
  TRegistry reg(*FStore);
  EXPECT_EQ(Thrown([&] { reg.WriteString("NoKey", "x"); }), "Failed to set data for 'NoKey'");

  ASSERT_TRUE(reg.OpenKey("Software\\Q", true));
  reg.WriteString("v", "1");
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\Software\\Q"));
  EXPECT_EQ(Thrown([&] { reg.WriteString("v", "2"); }), "Failed to set data for 'v'");
  EXPECT_EQ(Thrown([&] { reg.WriteInteger("n", 2); }), "Failed to set data for 'n'");
  EXPECT_FALSE(reg.DeleteValue("v"));
  EXPECT_EQ(reg.ReadString("v"), "1");

  // The hive file cannot be written: a file stands where its folder should be.
  TRegistryStore blocked(FFiles, FDir + "/blocker/machine.reg", FDir + "/user/user.reg");
  std::error_code ignored;
  fs::create_directories(FDir, ignored);
  FILE* f = fopen((FDir + "/blocker").c_str(), "w");
  ASSERT_NE(f, nullptr);
  fclose(f);
  TRegistry machine(blocked);
  machine.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_FALSE(machine.OpenKey("SOFTWARE\\Q", true));
  ASSERT_TRUE(machine.OpenKey("\\", false));  // the root always opens
  EXPECT_EQ(Thrown([&] { machine.WriteString("InstallLocation", "x"); }), "Failed to set data for 'InstallLocation'");
}

TEST_F(RegistryTest, AKeyDeletedWhileOpenIsNotRecreatedByAWrite) {
  TRegistry reg(*FStore);
  ASSERT_TRUE(reg.OpenKey("Software\\Q\\Sub", true));
  TRegistry other(*FStore);
  EXPECT_TRUE(other.DeleteKey("Software\\Q"));  // with its sub-key
  EXPECT_FALSE(other.KeyExists("Software\\Q"));
  EXPECT_FALSE(other.DeleteKey("Software\\Q"));
  EXPECT_EQ(Thrown([&] { reg.WriteString("v", "x"); }), "Failed to set data for 'v'");
  EXPECT_FALSE(FStore->KeyExists(TRootKey::CurrentUser, "Software\\Q\\Sub"));
}

// OpenKeyReadOnly steps down KEY_READ, query-and-enumerate, query-only, keeping the view bits;
// the first access the key grants becomes the mask.
TEST_F(RegistryTest, OpenKeyReadOnlyFallsBackThroughItsAccesses) {
  for (const char* view : {"32-bit", "64-bit"}) {
    TRegValue v;
    v.Type = TRegType::Sz;
    v.Text = view;
    ASSERT_TRUE(FStore->WriteValue(TRootKey::LocalMachine, "SOFTWARE\\Vendor", "v", v, view[0] == '3'));
  }
  const struct {
    uint32_t Start;               // access mask before the call
    std::set<uint32_t> Granted;   // accesses the key allows (view bits stripped)
    bool Opens;
    uint32_t After;
    std::vector<uint32_t> Tried;
  } cases[] = {
      {KEY_ALL_ACCESS, {KEY_READ, 0x9, 0x1}, true, 0x20019, {0x20019}},
      {KEY_ALL_ACCESS, {0x9, 0x1}, true, 0x9, {0x20019, 0x9}},
      {KEY_ALL_ACCESS, {0x1}, true, 0x1, {0x20019, 0x9, 0x1}},
      {KEY_ALL_ACCESS, {}, false, KEY_ALL_ACCESS, {0x20019, 0x9, 0x1}},
      {KEY_ALL_ACCESS | KEY_WOW64_32KEY, {0x1}, true, 0x201, {0x20219, 0x209, 0x201}},
      {KEY_WRITE | KEY_WOW64_64KEY, {KEY_READ}, true, 0x20119, {0x20119}},
  };
  for (const auto& c : cases) {
    std::vector<uint32_t> tried;
    FStore->OnCheckAccess = [&](TRootKey, const std::string& path, uint32_t access, bool view32) {
      EXPECT_EQ(path, "SOFTWARE\\Vendor");
      EXPECT_EQ(view32, (access & KEY_WOW64_32KEY) != 0);
      tried.push_back(access);
      return c.Granted.count(access & ~(KEY_WOW64_32KEY | KEY_WOW64_64KEY)) > 0;
    };
    TRegistry reg(*FStore, c.Start);
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(reg.OpenKeyReadOnly("SOFTWARE\\Vendor"), c.Opens) << std::hex << c.Start;
    EXPECT_EQ(reg.Access(), c.After) << std::hex << c.Start;
    EXPECT_EQ(tried, c.Tried) << std::hex << c.Start;
    if (c.Opens) EXPECT_EQ(reg.ReadString("v"), (c.Start & KEY_WOW64_32KEY) ? "32-bit" : "64-bit");
  }
  FStore->OnCheckAccess = nullptr;
}

TEST_F(RegistryTest, TheAccessMaskChoosesTheView) {
  TRegistry reg(*FStore, KEY_ALL_ACCESS | KEY_WOW64_32KEY);
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quenvo VPN Browser_is1", true));
  reg.WriteString("InstallLocation", "C:\\Program Files (x86)\\Quenvo VPN Browser");

  // The path the 64-bit view (and a caller naming WOW6432Node in the 32-bit view) reads.
  for (uint32_t access : {uint32_t(KEY_READ), uint32_t(KEY_READ | KEY_WOW64_32KEY)}) {
    TRegistry reader(*FStore, access);
    reader.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reader.OpenKeyReadOnly(
        "\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quenvo VPN Browser_is1"));
    EXPECT_EQ(reader.ReadString("InstallLocation"), "C:\\Program Files (x86)\\Quenvo VPN Browser");
  }
  TRegistry native(*FStore, KEY_READ | KEY_WOW64_64KEY);
  native.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_FALSE(native.OpenKeyReadOnly("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quenvo VPN Browser_is1"));
}

TEST_F(RegistryTest, ClassesRootKeysReadAndWriteThroughTheMerge) {
  TRegistry reg(*FStore);
  reg.SetRootKey(HKEY_CLASSES_ROOT);
  ASSERT_TRUE(reg.OpenKey("CLSID\\{1448035D-2AAB-4749-825E-212695AF6E55}", true));
  reg.WriteString("AppID", "id");
  EXPECT_TRUE(FStore->KeyExists(TRootKey::LocalMachine, "SOFTWARE\\Classes\\CLSID\\{1448035D-2AAB-4749-825E-212695AF6E55}"));
  EXPECT_EQ(reg.ReadString("AppID"), "id");
}

}  // namespace
