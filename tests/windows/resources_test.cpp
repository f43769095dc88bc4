// The resources that Windows finds in korvane.exe and sudoku.exe: their icon groups,
// their version information with its French texts, and the manifest asking for version
// 6 of the common controls and for no virtualisation of the programs' writes.
#include "process_driver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

using namespace windows_test;

namespace {

#pragma pack(push, 1)
struct IconGroupHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
struct IconGroupEntry {
    BYTE width;
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

struct Program {
    const char* name;
    const char* file;
    std::vector<LPCSTR> iconGroups;
    const wchar_t* description;
};

const Program kPrograms[] = {
    {"korvane", KORVANE_EXE, {MAKEINTRESOURCEA(100), "A"}, L"Générateur de grilles de sudoku"},
    {"sudoku", SUDOKU_EXE, {MAKEINTRESOURCEA(100)}, L"Résolveur de grilles de sudoku"},
};

// The program's name in the test's name.
void PrintTo(const Program& program, std::ostream* out) {
    *out << program.name;
}

class Resources : public ::testing::TestWithParam<Program> {
protected:
    void SetUp() override {
        path_ = NativePath(GetParam().file);
        module_ = LoadLibraryExA(path_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << path_ << ": error " << GetLastError();
    }
    void TearDown() override {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }

    std::string Resource(LPCSTR name, LPCSTR type) const {
        HRSRC found = FindResourceA(module_, name, type);
        if (found == nullptr) {
            return {};
        }
        const void* data = LockResource(LoadResource(module_, found));
        return std::string(static_cast<const char*>(data), SizeofResource(module_, found));
    }

    // The (size, bits per pixel) of each image of an icon group, read from the images.
    std::multiset<std::pair<int, int>> IconImages(LPCSTR group) const {
        std::multiset<std::pair<int, int>> images;
        const std::string directory = Resource(group, RT_GROUP_ICON);
        if (directory.size() < sizeof(IconGroupHeader)) {
            return images;
        }
        IconGroupHeader header{};
        std::memcpy(&header, directory.data(), sizeof header);
        for (int i = 0; i < header.count; ++i) {
            IconGroupEntry entry{};
            const std::size_t at = sizeof header + i * sizeof entry;
            if (at + sizeof entry > directory.size()) {
                break;
            }
            std::memcpy(&entry, directory.data() + at, sizeof entry);
            const std::string image = Resource(MAKEINTRESOURCEA(entry.id), RT_ICON);
            BITMAPINFOHEADER bitmap{};
            if (image.size() < sizeof bitmap) {
                images.insert({-1, -1});
                continue;
            }
            std::memcpy(&bitmap, image.data(), sizeof bitmap);
            // An icon image holds its picture and its mask: twice the height.
            if (bitmap.biSize != sizeof bitmap || bitmap.biHeight != 2 * bitmap.biWidth ||
                entry.width != bitmap.biWidth) {
                images.insert({-2, -2});
                continue;
            }
            images.insert({bitmap.biWidth, bitmap.biBitCount});
        }
        return images;
    }

    std::string path_;
    HMODULE module_ = nullptr;
};

const std::multiset<std::pair<int, int>> kEightImages = {{16, 24}, {16, 32}, {24, 24}, {24, 32},
                                                         {32, 24}, {32, 32}, {48, 24}, {48, 32}};

TEST_P(Resources, CarriesItsIconGroupsOfEightImages) {
    for (const LPCSTR group : GetParam().iconGroups) {
        SCOPED_TRACE(IS_INTRESOURCE(group) ? std::to_string(reinterpret_cast<UINT_PTR>(group))
                                           : std::string(group));
        EXPECT_EQ(IconImages(group), kEightImages);
    }
}

// Read back from the file as Explorer's properties read it: the version numbers, and
// the French texts with their accents in the block of code page 1252.
TEST_P(Resources, CarriesItsVersionInformationInFrench) {
    const std::wstring file(path_.begin(), path_.end());
    std::vector<char> block(GetFileVersionInfoSizeW(file.c_str(), nullptr));
    ASSERT_FALSE(block.empty()) << "no version information";
    ASSERT_TRUE(
        GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &value, &length));
    VS_FIXEDFILEINFO fixed{};
    std::memcpy(&fixed, value, sizeof fixed);
    EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
    const std::string numbers = std::to_string(HIWORD(fixed.dwFileVersionMS)) + "." +
                                std::to_string(LOWORD(fixed.dwFileVersionMS)) + "." +
                                std::to_string(HIWORD(fixed.dwFileVersionLS)) + "." +
                                std::to_string(LOWORD(fixed.dwFileVersionLS));
    EXPECT_EQ(numbers, PROJECT_VERSION_TEXT ".0");

    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length));
    WORD translation[2] = {};
    std::memcpy(translation, value, sizeof translation);
    EXPECT_EQ(translation[0], 0x040C) << "French";
    EXPECT_EQ(translation[1], 1252);
    const auto text = [&](const std::wstring& name) {
        const std::wstring key = L"\\StringFileInfo\\040C04E4\\" + name;
        if (!VerQueryValueW(block.data(), key.c_str(), &value, &length)) {
            return std::wstring(L"(none)");
        }
        return std::wstring(static_cast<const wchar_t*>(value));
    };
    EXPECT_EQ(text(L"FileDescription"), GetParam().description);
    const std::string fileName = GetParam().name + std::string(".exe");
    EXPECT_EQ(text(L"OriginalFilename"), std::wstring(fileName.begin(), fileName.end()));
    EXPECT_EQ(text(L"FileVersion"), std::wstring(numbers.begin(), numbers.end()));
}

TEST_P(Resources, AsksForCommonControlsSixAndRunsAsItsCaller) {
    const std::string manifest = Resource(MAKEINTRESOURCEA(1), RT_MANIFEST);
    ASSERT_FALSE(manifest.empty());
    const auto dependency = manifest.find("<dependentAssembly>");
    ASSERT_NE(dependency, std::string::npos) << manifest;
    const std::string identity = manifest.substr(dependency, manifest.find("</dependency>"));
    EXPECT_NE(identity.find("name=\"Microsoft.Windows.Common-Controls\""), std::string::npos);
    EXPECT_NE(identity.find("version=\"6.0.0.0\""), std::string::npos);
    // The processor of this build: the 64-bit test build asks for its own.
    const char* const architecture =
        sizeof(void*) == 8 ? "processorArchitecture=\"amd64\"" : "processorArchitecture=\"x86\"";
    EXPECT_NE(identity.find(architecture), std::string::npos) << identity;
    EXPECT_NE(identity.find("language=\"*\""), std::string::npos);
    // One dependency only.
    EXPECT_EQ(manifest.find("<dependency>", manifest.find("</dependency>")), std::string::npos);
    // A requested execution level turns off the virtualisation of the program's writes
    // (Vista and later); in the namespace that Windows XP accepts there.
    const auto trust = manifest.find("<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v2\">");
    ASSERT_NE(trust, std::string::npos) << manifest;
    EXPECT_NE(
        manifest.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>", trust),
        std::string::npos)
        << manifest;
}

INSTANTIATE_TEST_SUITE_P(Programs, Resources, ::testing::ValuesIn(kPrograms),
                         [](const auto& programInfo) {
                             return std::string(programInfo.param.name);
                         });

} // namespace
