#include "kelto/press/rls.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Output room the encoders promise to stay within, filled with a marker.
std::vector<uint32_t> Room(int bytes) { return std::vector<uint32_t>((16 + 2 * size_t(bytes)) / 4 + 1, 0xAAAAAAAAu); }

struct RunEntry { uint32_t position, repeat; };

// Runs of coded data, as stored.
std::vector<RunEntry> RunsOf(const std::vector<uint32_t>& data) {
    std::vector<RunEntry> runs;
    for (uint32_t i = 0; i < data[2]; ++i) runs.push_back({data[3 + i] & 0xFFFF, data[3 + i] >> 16});
    return runs;
}

std::vector<uint32_t> ValuesOf(const std::vector<uint32_t>& data) {
    const uint32_t start = 3 + data[2];
    return std::vector<uint32_t>(data.begin() + start, data.begin() + 2 + data[0]);
}

bool operator==(const RunEntry& a, const RunEntry& b) { return a.position == b.position && a.repeat == b.repeat; }
std::ostream& operator<<(std::ostream& os, const RunEntry& r) { return os << "{" << r.position << "," << r.repeat << "}"; }

// Codes, checks the header words, decodes with the matching decoder and compares.
void RoundTripDWORD(const std::vector<uint32_t>& src, int mode, std::vector<uint32_t>* coded, const char* name) {
    const int bytes = int(src.size() * 4);
    std::vector<uint32_t> out = Room(bytes);
    int size = 1;
    ASSERT_EQ(1, RLS_encodeDWORD(src.data(), out.data(), &size, mode, bytes)) << name;
    ASSERT_EQ(0u, size % 4) << name;
    ASSERT_LE(size, 16 + 2 * bytes) << name;
    EXPECT_EQ(uint32_t(size / 4 - 2), out[0]) << name;
    EXPECT_EQ(src.size(), out[1]) << name;
    EXPECT_EQ(0xAAAAAAAAu, out[size / 4]) << name << ": written past the stated size";
    std::vector<uint32_t> back(src.size(), 0xBBBBBBBBu);
    const int walked = mode ? RLS_decodeDWORD(out.data(), size, back.data(), int(back.size()))
                            : RLS_decodeDWORDRel(out.data(), size, back.data(), int(back.size()));
    EXPECT_EQ(int(out[0] - 1 - out[2]), walked) << name;
    EXPECT_EQ(src, back) << name;
    out.resize(size / 4);
    if (coded) *coded = out;
}

std::vector<uint32_t> Distinct(int count, uint32_t from) {
    std::vector<uint32_t> v;
    for (int i = 0; i < count; ++i) v.push_back(from + uint32_t(i));
    return v;
}

} // namespace

TEST(RlsEncode, CodesRunsOfThirtyTwoBitValues)
{
    const unsigned char bytes[20] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0};
    uint32_t src[5];
    std::memcpy(src, bytes, 20);
    std::vector<uint32_t> out = Room(20);
    int size = 1;
    ASSERT_EQ(1, RLS_encodeDWORD(src, out.data(), &size, 1, 20));
    EXPECT_EQ(24, size);
    const std::vector<uint32_t> expected = {4, 5, 1, 4u << 16 | 0, 1, 2};
    EXPECT_EQ(expected, std::vector<uint32_t>(out.begin(), out.begin() + 6));

    // 1,000 zero bytes: P 3, 250 words, one run {0, 250}, the value 0.
    std::vector<uint32_t> zsrc(250, 0);
    out = Room(1000);
    size = 1;
    ASSERT_EQ(1, RLS_encodeDWORD(zsrc.data(), out.data(), &size, 1, 1000));
    EXPECT_EQ(20, size);
    EXPECT_EQ((std::vector<uint32_t>{3, 250, 1, 250u << 16, 0}), std::vector<uint32_t>(out.begin(), out.begin() + 5));
}

TEST(RlsEncode, ALastPartialValueTakesTheRemainingBytes)
{
    // 9 bytes: 01 00 00 00, 01 00 00 00, 01 -> the values 1, 1, 1 (the last zero-extended).
    const unsigned char bytes[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0xEE, 0xEE, 0xEE};
    uint32_t src[3];
    std::memcpy(src, bytes, 12);
    std::vector<uint32_t> out = Room(9);
    int size = 1;
    ASSERT_EQ(1, RLS_encodeDWORD(src, out.data(), &size, 1, 9));
    EXPECT_EQ((std::vector<uint32_t>{3, 3, 1, 3u << 16, 1}), std::vector<uint32_t>(out.begin(), out.begin() + 5));
}

TEST(RlsEncode, WithoutRunsNothingIsWritten)
{
    struct Row { const char* name; std::vector<uint32_t> src; };
    const Row rows[] = {
        {"all different", {1, 2, 3, 4, 1, 2}},
        {"one value", {7}},
        {"nothing", {}},
    };
    for (const Row& row : rows) {
        for (int mode = 0; mode < 2; ++mode) {
            std::vector<uint32_t> out = Room(int(row.src.size() * 4));
            int size = 1;
            const uint32_t none = 0;
            const uint32_t* src = row.src.empty() ? &none : row.src.data();
            EXPECT_EQ(0, RLS_encodeDWORD(src, out.data(), &size, mode, int(row.src.size() * 4)))
                << "case " << row.name;
            EXPECT_EQ(8, size) << "case " << row.name;
            for (uint32_t u : out) ASSERT_EQ(0xAAAAAAAAu, u) << "case " << row.name;
        }
    }
}

TEST(RlsEncode, StoredFormCopiesAndPadsTheSource)
{
    const unsigned char bytes[8] = {1, 2, 3, 4, 5, 6, 0xEE, 0xEE};
    std::vector<uint32_t> out = Room(6);
    int size = 0;
    ASSERT_EQ(2, RLS_encodeDWORD(reinterpret_cast<const uint32_t*>(bytes), out.data(), &size, 1, 6));
    EXPECT_EQ(16, size);
    const unsigned char expected[16] = {0, 0, 0, 0, 2, 0, 0, 0, 1, 2, 3, 4, 5, 6, 0, 0};
    EXPECT_EQ(0, std::memcmp(expected, out.data(), 16));
    uint32_t back[2];
    EXPECT_EQ(2, RLS_decodeDWORD(out.data(), size, back, 2));
    EXPECT_EQ(0, std::memcmp(expected + 8, back, 8));

    size = 0;
    ASSERT_EQ(2, RLS_encodeWORD(reinterpret_cast<const uint16_t*>(bytes), out.data(), &size, 1, 0));
    EXPECT_EQ(8, size);
    EXPECT_EQ(0u, out[1]);
}

TEST(RlsEncode, RepeatCountsStopAtTheirLimit)
{
    struct Row { int count; std::vector<uint32_t> values; std::vector<RunEntry> runs; };
    const Row rows[] = {
        {2, {9}, {{0, 2}}},
        {65535, {9}, {{0, 65535}}},
        {65536, {9, 9}, {{0, 65535}}},
        {65537, {9, 9}, {{0, 65535}, {1, 2}}},
        {70000, {9, 9}, {{0, 65535}, {1, 4465}}},
        {131071, {9, 9, 9}, {{0, 65535}, {1, 65535}}},
    };
    for (const Row& row : rows) {
        for (int mode = 0; mode < 2; ++mode) {
            std::vector<uint32_t> coded;
            const std::string name = std::to_string(row.count) + " equal values, mode " + std::to_string(mode);
            RoundTripDWORD(std::vector<uint32_t>(row.count, 9), mode, &coded, name.c_str());
            if (coded.empty()) continue;
            EXPECT_EQ(row.values, ValuesOf(coded)) << name;
            EXPECT_EQ(row.runs, RunsOf(coded)) << name;
        }
    }
}

TEST(RlsEncode, PositionsStopAtSixteenBits)
{
    // Absolute positions reach 65,535; relative ones count from the previous run.
    std::vector<uint32_t> atLimit = Distinct(65535, 1000000);
    atLimit.push_back(7);
    atLimit.push_back(7);
    std::vector<uint32_t> coded;
    RoundTripDWORD(atLimit, 1, &coded, "absolute 65,535");
    EXPECT_EQ((std::vector<RunEntry>{{65535, 2}}), RunsOf(coded));

    std::vector<uint32_t> past = Distinct(65536, 1000000);
    past.push_back(7);
    past.push_back(7);
    std::vector<uint32_t> out = Room(int(past.size() * 4));
    int size = 1;
    EXPECT_EQ(0, RLS_encodeDWORD(past.data(), out.data(), &size, 1, int(past.size() * 4))) << "absolute 65,536";
    EXPECT_EQ(0, RLS_encodeDWORD(past.data(), out.data(), &size, 0, int(past.size() * 4))) << "relative 65,536";

    // A run at index 1, then one at index 65,536: only relative positions can hold the second.
    std::vector<uint32_t> src = {100, 9, 9};
    const std::vector<uint32_t> middle = Distinct(65534, 1000000);
    src.insert(src.end(), middle.begin(), middle.end());
    src.push_back(7);
    src.push_back(7);
    src.push_back(8);
    RoundTripDWORD(src, 1, &coded, "absolute");
    EXPECT_EQ((std::vector<RunEntry>{{1, 2}}), RunsOf(coded));
    RoundTripDWORD(src, 0, &coded, "relative");
    EXPECT_EQ((std::vector<RunEntry>{{1, 2}, {65535, 2}}), RunsOf(coded));
    EXPECT_EQ(65538u, ValuesOf(coded).size());
}

TEST(RlsEncode, SixteenBitValuesArePaddedToFourBytes)
{
    struct Row { const char* name; std::vector<uint16_t> src; int bytes; std::vector<uint32_t> data; int walked; };
    const Row rows[] = {
        {"5 5 5 7", {5, 5, 5, 7}, 8, {3, 2, 1, 3u << 16, 5 | 7u << 16}, 2},
        {"5 5 7", {5, 5, 7}, 6, {3, 2, 1, 2u << 16, 5 | 7u << 16}, 2},
        {"5 5 7 8: one padding value", {5, 5, 7, 8}, 8, {4, 2, 1, 2u << 16, 5 | 7u << 16, 8}, 4},
        {"odd byte is a value of its own", {5, 5, 0xEE05}, 5, {3, 2, 1, 3u << 16, 5}, 2},
    };
    for (const Row& row : rows) {
        for (int mode = 0; mode < 2; ++mode) {
            std::vector<uint32_t> out = Room(row.bytes);
            int size = 1;
            ASSERT_EQ(1, RLS_encodeWORD(row.src.data(), out.data(), &size, mode, row.bytes)) << "case " << row.name;
            EXPECT_EQ(int(row.data.size() * 4), size) << "case " << row.name;
            EXPECT_EQ(row.data, std::vector<uint32_t>(out.begin(), out.begin() + row.data.size())) << "case " << row.name;
            // Room for exactly the source's values: the padding value needs none.
            std::vector<uint16_t> expected(row.src);
            if (row.bytes & 1) expected.back() &= 0xFF;
            std::vector<uint16_t> back(expected.size(), 0xBBBB);
            const int walked = mode ? RLS_decodeWORD(out.data(), size, back.data(), int(back.size()))
                                    : RLS_decodeWORDRel(out.data(), size, back.data(), int(back.size()));
            EXPECT_EQ(row.walked, walked) << "case " << row.name;
            EXPECT_EQ(expected, back) << "case " << row.name;
        }
    }
}

TEST(RlsEncode, RoundTripsMixedDataWithinTheStatedRoom)
{
    uint32_t seed = 12345;
    auto next = [&]() { seed = seed * 1103515245u + 12345u; return seed >> 16; };
    std::vector<uint32_t> mixed;
    while (mixed.size() < 20000) {
        const uint32_t value = next() % 5, repeat = 1 + next() % 4;
        for (uint32_t i = 0; i < repeat; ++i) mixed.push_back(value);
    }
    // Worst cases for the room: every value twice (16-bit: 6 bytes of output per 4 of input).
    std::vector<uint32_t> pairs;
    for (uint32_t i = 0; i < 5000; ++i) { pairs.push_back(i); pairs.push_back(i); }
    for (const auto* src : {&mixed, &pairs}) {
        for (int mode = 0; mode < 2; ++mode) {
            RoundTripDWORD(*src, mode, nullptr, src == &mixed ? "mixed" : "pairs");
            std::vector<uint16_t> words(src->begin(), src->end());
            const int bytes = int(words.size() * 2);
            std::vector<uint32_t> out = Room(bytes);
            int size = 1;
            ASSERT_EQ(1, RLS_encodeWORD(words.data(), out.data(), &size, mode, bytes));
            EXPECT_LE(size, 16 + 2 * bytes);
            EXPECT_EQ(0xAAAAAAAAu, out[size / 4]) << "written past the stated size";
            std::vector<uint16_t> back(words.size() + 1, 0xBBBB);
            const int walked = mode ? RLS_decodeWORD(out.data(), size, back.data(), int(back.size()))
                                    : RLS_decodeWORDRel(out.data(), size, back.data(), int(back.size()));
            EXPECT_GT(walked, 0);
            back.resize(words.size());
            EXPECT_EQ(words, back);
        }
    }
}

TEST(RlsEncode, RefusesBadArgumentsAndSourcesPastTheWorkLists)
{
    std::vector<uint32_t> src(4, 1), out = Room(16);
    int size = 1;
    EXPECT_EQ(-1, RLS_encodeDWORD(nullptr, out.data(), &size, 1, 16));
    EXPECT_EQ(-1, RLS_encodeDWORD(src.data(), nullptr, &size, 1, 16));
    EXPECT_EQ(-1, RLS_encodeDWORD(src.data(), out.data(), nullptr, 1, 16));
    EXPECT_EQ(-1, RLS_encodeDWORD(src.data(), out.data(), &size, 1, -4));
    EXPECT_EQ(1, size);
    // A source past 8 MiB would overrun the value list: refused before anything is read.
    EXPECT_EQ(-1, RLS_encodeDWORD(src.data(), out.data(), &size, 1, RLS_WORKLIST_SIZE + 1));
    EXPECT_EQ(-1, RLS_encodeWORD(reinterpret_cast<uint16_t*>(src.data()), out.data(), &size, 1, RLS_WORKLIST_SIZE - 3));
    EXPECT_EQ(1, size);

    // The largest source: 8 MiB of one value.
    std::vector<uint32_t> big(RLS_WORKLIST_SIZE / 4, 3);
    std::vector<uint32_t> bigOut(128);
    size = 1;
    ASSERT_EQ(1, RLS_encodeDWORD(big.data(), bigOut.data(), &size, 1, RLS_WORKLIST_SIZE));
    EXPECT_EQ(uint32_t(RLS_WORKLIST_SIZE / 4), bigOut[1]);
    EXPECT_EQ(uint32_t((RLS_WORKLIST_SIZE / 4 + 65534) / 65535), bigOut[2]);
}

TEST(RlsDecode, RefusesDataThatDoesNotFitItsSizeOrTheOutput)
{
    std::vector<uint32_t> src = {1, 1, 1, 1, 2};
    std::vector<uint32_t> coded;
    RoundTripDWORD(src, 1, &coded, "fixture");
    ASSERT_EQ(6u, coded.size());
    std::vector<uint32_t> back(8, 0);
    const int bytes = 24;
    struct Row { const char* name; std::vector<uint32_t> data; int bytes; int room; };
    std::vector<uint32_t> manyRuns = coded;
    manyRuns[2] = 100;
    std::vector<uint32_t> longRun = coded;
    longRun[3] = 0xFFFF0000u;
    const Row rows[] = {
        {"shorter than the header", coded, 7, 8},
        {"payload past the data", coded, bytes - 4, 8},
        {"run count past the payload", manyRuns, bytes, 8},
        {"output too small", coded, bytes, 4},
        {"a run longer than the output", longRun, bytes, 8},
        {"stored words past the data", {0, 5, 1, 2}, 16, 8},
        {"stored words past the output", {0, 3, 1, 2, 3}, 20, 2},
    };
    for (const Row& row : rows) {
        std::fill(back.begin(), back.end(), 0xBBBBBBBBu);
        EXPECT_EQ(-1, RLS_decodeDWORD(row.data.data(), row.bytes, back.data(), row.room)) << "case " << row.name;
        for (int i = row.room; i < 8; ++i) EXPECT_EQ(0xBBBBBBBBu, back[i]) << "case " << row.name;
    }
    EXPECT_EQ(-1, RLS_decodeDWORD(nullptr, bytes, back.data(), 8));
    EXPECT_EQ(-1, RLS_decodeWORD(coded.data(), bytes, nullptr, 8));
}
