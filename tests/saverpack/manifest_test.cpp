// The manifest reader: a good manifest gives the plan it describes; each
// broken one gives an error naming the manifest line and key.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "tests/saverpack/test_support.h"
#include "tests/support/case_name.h"
#include "tools/saverpack/lib/manifest.h"

namespace {

class ManifestFiles {
 public:
  static ManifestFiles& get() {
    static ManifestFiles f;
    return f;
  }
  const std::filesystem::path& dir() const { return dir_.path(); }

 private:
  ManifestFiles() {
    const auto ex = sptest::examplesDir();
    std::filesystem::copy_file(ex / "picture/installer.bmp", dir_ / "pic.bmp");
    std::filesystem::copy_file(ex / "jpeg/installer.jpg", dir_ / "pic.jpg");
    std::filesystem::copy_file(ex / "movie/installer.swf", dir_ / "installer.swf");
    for (const char* f : {"saver.scr", "saver.scf", "saver1.dll", "saver2.dll", "readme.txt"})
      std::filesystem::copy_file(ex / "common" / f, dir_ / f);
    sptest::writeText(dir_ / "license.txt", "Licence.\r\n");
    std::filesystem::copy(ex / "common/data", dir_ / "data", std::filesystem::copy_options::recursive);
    // A ready-made data file whose one entry's chunk lies past its end.
    sptest::Bytes bad(1240 + 264, 0);
    sptest::putI32At(bad, 212, 1);
    const std::string name = "x.txt";
    std::copy(name.begin(), name.end(), bad.begin() + 1240 + 2);
    sptest::putI32At(bad, 1240 + 260, 99999);
    sptest::writeFile(dir_ / "bad.ssd", bad);
  }
  sptest::ScratchDir dir_;
};

// The good manifest: root keys, then the [data] section.
const char* const kRoot = R"(name = "Night Harbour"
mode = "bitmap"
flash-player = "8 r22"
display-panel = true
picture = "pic.bmp"
license = "license.txt"
readme = "readme.txt"
module = { path = "saver.scr", name = "Night Harbour.scr" }
saver-file = "saver.scf"
support-files = ["saver1.dll", "saver2.dll"]
)";

const char* const kData = R"(
[data]
folder = "data"
main = "night.swf"

[[data.files]]
name = "copy.swf"
alias = true
)";

std::optional<PackagePlan> read(const std::string& text, Diagnostics& problems) {
  return readManifestText(text, ManifestFiles::get().dir(), "m.toml", problems);
}

TEST(Manifest, GoodManifestGivesItsPlan) {
  Diagnostics problems;
  const auto plan = read(std::string(kRoot) + kData, problems);
  for (const Problem& p : problems.problems()) ADD_FAILURE() << formatProblem(p);
  ASSERT_TRUE(plan);
  EXPECT_EQ(saverNameOf(plan->header), "Night Harbour");
  EXPECT_EQ(plan->header.installMode, 1);
  EXPECT_EQ(plan->header.showLicense, 1);
  EXPECT_EQ(plan->header.hasReadMe, 1);
  EXPECT_EQ(plan->header.carriesFlashInstaller, 0);
  EXPECT_EQ(plan->header.flashVersionIndex, 1);
  EXPECT_EQ(plan->header.offerDisplayPanel, 1);
  EXPECT_EQ(plan->slots[6]->name, "Night Harbour.scr");
  EXPECT_EQ(plan->slots[6]->kind, 2);
  EXPECT_EQ(plan->slots[7]->kind, 5);
  EXPECT_EQ(plan->slots[8]->name, "Night Harbour.ssd");
  ASSERT_TRUE(plan->data);
  std::vector<std::string> names;
  for (const DataItem& i : plan->data->items) names.push_back(i.name);
  EXPECT_EQ(names, (std::vector<std::string>{"night.swf", "copy.swf", "config.ini", "sounds\\chime.wav"}));
  EXPECT_TRUE(plan->data->items[1].alias);
}

struct BadCase {
  std::string name;
  std::vector<std::pair<std::string, std::string>> root;  // root key -> its new line ("" drops it; a new key is added)
  std::string data;      // the [data] section, when not the good one ("-": none)
  std::string lineOf;    // the error's line is the first one starting so ("" when it names no line)
  std::string key;       // the key the error names
  std::string message;   // part of the message
};

const BadCase kBad[] = {
    {"NameOver64Characters", {{"name", "name = \"" + std::string(65, 'N') + "\""}}, "", "name", "name", "65 characters; at most 64 fit"},
    {"NameMissing", {{"name", ""}}, "", "", "name", "the saver's name is missing"},
    {"NameNotAFolderName", {{"name", "name = \"Night:Harbour\""}}, "", "name", "name", "cannot name a folder"},
    {"ModuleMissing", {{"module", ""}}, "", "", "module", "slot 6 (the screen-saver module) is empty"},
    {"SupportFilesOne", {{"support-files", "support-files = [\"saver1.dll\"]"}}, "", "support-files", "support-files",
     "exactly two files"},
    {"LicenceFlagWithoutLicence", {{"license", ""}, {"show-license", "show-license = true"}}, "", "show-license", "show-license",
     "is true but no license file"},
    {"ReadMeFlagClearedWithReadMe", {{"has-readme", "has-readme = false"}}, "", "has-readme", "has-readme",
     "is false but a readme file is given"},
    {"BitmapModeWithJpeg", {{"picture", "picture = \"pic.jpg\""}}, "", "picture", "picture",
     "mode 1 (bitmap) shows slot 3 as a Windows bitmap, but the file is a JPEG picture"},
    {"MovieModeWithBitmap", {{"mode", "mode = \"movie\""}}, "", "picture", "picture",
     "a Flash movie (FWS or CWS), but the file is a Windows bitmap"},
    {"PictureMissingOutsideQuietMode", {{"picture", ""}}, "", "mode", "mode", "slot 3 (the picture or movie) is empty"},
    {"PictureRenamedOntoReadMe", {{"readme", "readme = { path = \"readme.txt\", name = \"PIC.bmp\" }"}}, "", "readme", "readme",
     "slot 5 'PIC.bmp' and slot 3 'pic.bmp' (renamed 'pic.BMP' by mode 1) are both written as 'PIC.bmp' in the temporary folder"},
    {"PictureRenamedOntoPackageCopy", {{"mode", "mode = 8"}, {"picture", "picture = { path = \"pic.jpg\", name = \"temp.jpeg\" }"},
                                       {"readme", "readme = { path = \"readme.txt\", name = \"temp.jpg\" }"}},
     "", "readme", "readme", "are both written as 'temp.jpg'"},
    {"DataFileNamedLikeThePackageCopy", {}, "[data]\nname = \"temp.dat\"\nfolder = \"data\"\n", "[data]", "data",
     "slot 8 'temp.dat' and the installer's copy of itself are both written as 'temp.dat' in the temporary folder"},
    {"ModeUnknownWord", {{"mode", "mode = \"slideshow\""}}, "", "mode", "mode",
     "'slideshow' is not bitmap, movie, quiet, jpeg or a number"},
    {"FlashPlayerUnknown", {{"flash-player", "flash-player = \"9 r1\""}}, "", "flash-player", "flash-player",
     "is not \"7 r19\" or \"8 r22\""},
    {"FlashPlayerIndexTooLarge", {{"flash-player", "flash-player = 2"}}, "", "flash-player", "flash-player",
     "only 0 (7 r19) and 1 (8 r22)"},
    {"UnknownKey", {{"display-panel", "display-panels = true"}}, "", "display-panels", "display-panels", "unknown key"},
    {"CompressionUnknown", {{"compression", "compression = \"zip\""}}, "", "compression", "compression",
     "'zip' is not auto, stored, binary or ascii"},
    {"DictionaryUnknown", {{"dictionary", "dictionary = 3000"}}, "", "dictionary", "dictionary", "must be 1024, 2048 or 4096"},
    {"FileMissing", {{"saver-file", "saver-file = \"nope.scf\""}}, "", "saver-file", "saver-file", "no such file"},
    {"KindWithoutFolder", {{"saver-file", "saver-file = { path = \"saver.scf\", kind = 8 }"}}, "", "saver-file", "saver-file",
     "kind 8 has no target folder"},
    {"ModuleOutsideSystemFolder", {{"module", "module = { path = \"saver.scr\", kind = 5 }"}}, "", "module", "module",
     "looks for it in the system folder"},
    {"StoredNameWithPath", {{"saver-file", "saver-file = { path = \"saver.scf\", name = \"..\\\\x.scf\" }"}}, "", "saver-file",
     "saver-file", "is not a plain file name"},
    {"DataNameEscapes", {}, "[data]\n[[data.files]]\nname = \"..\\\\copy.swf\"\npath = \"readme.txt\"\n", "[[data.files]]",
     "data.files[0]", "leads outside its folder"},
    {"DataNamesCollide", {}, "[data]\n[[data.files]]\nname = \"a.txt\"\npath = \"readme.txt\"\n[[data.files]]\nname = \"A.TXT\"\n"
     "path = \"license.txt\"\n", "", "", "entry 'A.TXT' and entry 'a.txt' are both written as 'A.TXT'"},
    {"DataMainUnknown", {}, "[data]\nfolder = \"data\"\nmain = \"nothing.swf\"\n", "main", "data.main",
     "no entry is named 'nothing.swf'"},
    {"DataAliasWithPath", {}, "[data]\n[[data.files]]\nname = \"x.swf\"\nalias = true\npath = \"readme.txt\"\n", "[[data.files]]",
     "data.files[0].path", "an alias has no file of its own"},
    {"DataSettingsNotARecord", {}, "[data]\nsettings = \"readme.txt\"\n", "settings", "data.settings",
     "the settings record is exactly 1240"},
    {"MainMovieFromInstallerWithRenamedPicture", {}, "[data]\nmain-movie-mode = 3\nfolder = \"data\"\n", "[data]", "data",
     "mode 1 renames slot 3: the installer stops with -532"},
    {"MainMovieFromInstallerWithOtherName", {{"mode", "mode = \"movie\""}, {"picture", "movie = { path = \"installer.swf\", name = \"intro.swf\" }"}},
     "[data]\nmain-movie-mode = 3\nfolder = \"data\"\n", "[data]", "data", "slot 3 is not named \"installer.swf\""},
    {"PreparedDataFileDamaged", {{"data", "data = \"bad.ssd\""}}, "-", "data", "data (bad.ssd): entry 1 'x.txt'",
     "its chunk offset 99999 lies beyond the file"},
    {"SyntaxError", {{"display-panel", "display-panel = "}}, "", "display-panel", "", "Error while parsing"},
};

// The text of a case: the good root with its edits, then its data section.
std::string textOf(const BadCase& c) {
  std::istringstream in(kRoot);
  std::string out, line;
  auto edits = c.root;
  while (std::getline(in, line)) {
    const auto it = std::find_if(edits.begin(), edits.end(), [&](const auto& e) { return line.rfind(e.first + " ", 0) == 0; });
    if (it == edits.end()) {
      out += line + "\n";
      continue;
    }
    if (!it->second.empty()) out += it->second + "\n";
    edits.erase(it);
  }
  for (const auto& e : edits)
    if (!e.second.empty()) out += e.second + "\n";
  if (c.data == "-") return out;
  return out + (c.data.empty() ? std::string(kData) : "\n" + c.data);
}

int lineStarting(const std::string& text, const std::string& start) {
  std::istringstream in(text);
  std::string line;
  for (int n = 1; std::getline(in, line); ++n)
    if (line.rfind(start, 0) == 0) return n;
  return 0;
}

void PrintTo(const BadCase& c, std::ostream* os) { *os << c.name; }

class BadManifest : public testing::TestWithParam<BadCase> {};

TEST_P(BadManifest, IsRejectedNamingTheLine) {
  const BadCase& c = GetParam();
  const std::string text = textOf(c);
  Diagnostics problems;
  EXPECT_FALSE(read(text, problems));
  std::string where = "m.toml";
  if (!c.lineOf.empty()) where += ":" + std::to_string(lineStarting(text, c.lineOf));
  if (!c.key.empty()) where += (c.lineOf.empty() ? ": " : ": ") + c.key;
  bool found = false;
  std::string all;
  for (const Problem& p : problems.problems()) {
    all += formatProblem(p) + "\n";
    found |= p.severity == Severity::Error && p.message.find(c.message) != std::string::npos &&
             (c.key.empty() ? p.where.rfind(where, 0) == 0 : p.where == where);
  }
  EXPECT_TRUE(found) << "wanted an error at \"" << where << "\": \"" << c.message << "\"\nmanifest:\n"
                     << text << "got:\n" << all;
}

INSTANTIATE_TEST_SUITE_P(Manifest, BadManifest, testing::ValuesIn(kBad), CaseName());

TEST(Manifest, EveryErrorIsReportedAtOnce) {
  Diagnostics problems;
  read(textOf({"Many", {{"mode", "mode = \"slideshow\""}, {"compression", "compression = \"zip\""}, {"x", "whatever = 1"}}, "", "", "", ""}),
       problems);
  EXPECT_EQ(problems.errorCount(), 3u);
}

}  // namespace
