// The resources that Windows finds in korvane.exe: two icon groups, the version
// information and the manifest asking for version 6 of the common controls.
#include "process_driver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <utility>

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

class KorvaneResources : public ::testing::Test {
protected:
    void SetUp() override {
        module_ =
            LoadLibraryExA(NativePath(KORVANE_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << "error " << GetLastError();
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

    HMODULE module_ = nullptr;
};

const std::multiset<std::pair<int, int>> kEightImages = {{16, 24}, {16, 32}, {24, 24}, {24, 32},
                                                         {32, 24}, {32, 32}, {48, 24}, {48, 32}};

TEST_F(KorvaneResources, CarriesIconGroups100AndA) {
    EXPECT_EQ(IconImages(MAKEINTRESOURCEA(100)), kEightImages);
    EXPECT_EQ(IconImages("A"), kEightImages);
}

TEST_F(KorvaneResources, CarriesVersionInformation) {
    const std::string version = Resource(MAKEINTRESOURCEA(1), RT_VERSION);
    ASSERT_GE(version.size(), 44u);
    DWORD signature = 0;
    std::memcpy(&signature, version.data() + 40, sizeof signature);
    EXPECT_EQ(signature, 0xFEEF04BDu);
    // dwFileVersionMS and dwFileVersionLS: the project's version, then 0.
    DWORD numbers[2] = {};
    std::memcpy(numbers, version.data() + 48, sizeof numbers);
    char text[32];
    std::snprintf(text, sizeof text, "%lu.%lu.%lu", static_cast<unsigned long>(HIWORD(numbers[0])),
                  static_cast<unsigned long>(LOWORD(numbers[0])),
                  static_cast<unsigned long>(HIWORD(numbers[1])));
    EXPECT_EQ(std::string(text), PROJECT_VERSION_TEXT);
    EXPECT_EQ(LOWORD(numbers[1]), 0u);
}

TEST_F(KorvaneResources, AsksForCommonControlsSix) {
    const std::string manifest = Resource(MAKEINTRESOURCEA(1), RT_MANIFEST);
    ASSERT_FALSE(manifest.empty());
    const auto dependency = manifest.find("<dependentAssembly>");
    ASSERT_NE(dependency, std::string::npos) << manifest;
    const std::string identity = manifest.substr(dependency);
    EXPECT_NE(identity.find("name=\"Microsoft.Windows.Common-Controls\""), std::string::npos);
    EXPECT_NE(identity.find("version=\"6.0.0.0\""), std::string::npos);
    // The processor of this build: the 64-bit test build asks for its own.
    const char* const architecture =
        sizeof(void*) == 8 ? "processorArchitecture=\"amd64\"" : "processorArchitecture=\"x86\"";
    EXPECT_NE(identity.find(architecture), std::string::npos) << identity;
    EXPECT_NE(identity.find("language=\"*\""), std::string::npos);
    // One dependency only.
    EXPECT_EQ(manifest.find("<dependency>", manifest.find("</dependency>")), std::string::npos);
}

} // namespace
