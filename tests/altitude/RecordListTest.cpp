// The packed and shared record storage: every value comes back bit for bit, copies never see
// each other's changes, and the searches answer the same over packed and plain records.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "altitude/AltitudeMap.h"
#include "altitude/RecordCollector.h"
#include "altitude/RecordList.h"
#include "output/NearestRecordSearch.h"

namespace {

bool sameBits(const AltitudeRecord& a, const AltitudeRecord& b)
{
    return std::memcmp(&a.latitude, &b.latitude, sizeof(double)) == 0 &&
           std::memcmp(&a.longitude, &b.longitude, sizeof(double)) == 0 && a.altitude == b.altitude;
}

void expectSameBits(const RecordList& list, const std::vector<AltitudeRecord>& expected)
{
    ASSERT_EQ(list.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_TRUE(sameBits(list[i], expected[i])) << "record " << i;
        const double lat = list.latitudeAt(i), lon = list.longitudeAt(i);
        ASSERT_EQ(std::memcmp(&lat, &expected[i].latitude, sizeof lat), 0) << "record " << i;
        ASSERT_EQ(std::memcmp(&lon, &expected[i].longitude, sizeof lon), 0) << "record " << i;
    }
}

// A grid with repeated positions, including values only their bits tell apart.
std::vector<AltitudeRecord> gridWithOddValues(std::mt19937& random, int columns, int rows)
{
    const double odd[] = {0.0, -0.0, std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::infinity(),
                          std::numeric_limits<double>::denorm_min(), 1e308, 45.123456789012345};
    std::vector<AltitudeRecord> records;
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < rows; ++r) {
            double latitude = 44.0 + r / 1200.0;
            double longitude = 7.0 + c / 1200.0;
            if (random() % 50 == 0)
                latitude = odd[random() % std::size(odd)];
            if (random() % 50 == 0)
                longitude = odd[random() % std::size(odd)];
            records.push_back({latitude, longitude, static_cast<std::int32_t>(random())});
        }
    return records;
}

TEST(RecordListTest, PackingKeepsEveryBitAndRefusesWhatDoesNotFit)
{
    std::mt19937 random(11);
    struct Case {
        int columns, rows;
        bool packs;
    } cases[] = {{1, 1, false},  // packing one record would not save memory
                 {40, 30, true},
                 {3, 2000, true},
                 {1, 70000, false}};   // more distinct latitudes than the packed tables index
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.columns) + " x " + std::to_string(c.rows));
        const std::vector<AltitudeRecord> records = gridWithOddValues(random, c.columns, c.rows);
        RecordList list(records);
        EXPECT_EQ(list.pack(), c.packs);
        EXPECT_EQ(list.isPacked(), c.packs);
        expectSameBits(list, records);
        if (c.packs) {
            EXPECT_LT(list.storageBytes(), records.size() * sizeof(AltitudeRecord));
        }

        // Gathered one by one, the same records come out, packed or not.
        RecordCollector collector;
        collector.reserve(records.size() / 2);   // an announced count may be wrong
        for (const AltitudeRecord& record : records)
            collector.add(record);
        const RecordList collected = collector.finish();
        EXPECT_EQ(collected.isPacked(), c.rows <= 65536);
        expectSameBits(collected, records);
    }
}

TEST(RecordListTest, CopiesShareUntilOneChanges)
{
    std::mt19937 random(5);
    const std::vector<AltitudeRecord> records = gridWithOddValues(random, 20, 20);
    for (const bool packed : {false, true}) {
        SCOPED_TRACE(packed ? "packed" : "plain");
        RecordList original(records);
        if (packed) {
            ASSERT_TRUE(original.pack());
        }
        const std::uint64_t version = original.version();

        RecordList copy = original;
        EXPECT_TRUE(copy.sharesStorageWith(original));
        EXPECT_EQ(copy.version(), version);
        copy.setAltitude(3, -77);
        EXPECT_FALSE(copy.sharesStorageWith(original));
        EXPECT_EQ(copy.isPacked(), packed);   // an altitude change keeps a packed list packed
        EXPECT_NE(copy.version(), version);
        EXPECT_EQ(copy[3].altitude, -77);
        expectSameBits(original, records);

        RecordList other = original;
        other.edit()[0].latitude = 1.5;
        other.push_back({1, 2, 3});
        EXPECT_EQ(other.size(), records.size() + 1);
        EXPECT_EQ(other[0].latitude, 1.5);
        expectSameBits(original, records);

        RecordList cleared = original;
        cleared.clear();
        EXPECT_TRUE(cleared.empty());
        expectSameBits(original, records);
        EXPECT_EQ(original.version(), version);   // the original never changed
    }
}

// findNearest, the unsorted search and the writer's search give the same index over a map's
// records packed or plain, for queries on posts, between them, outside and far away.
TEST(RecordListTest, SearchesAnswerTheSameOverPackedRecords)
{
    std::mt19937 random(8);
    std::uniform_real_distribution<double> lat(43.9, 44.1), lon(6.9, 7.2);
    for (int trial = 0; trial < 6; ++trial) {
        SCOPED_TRACE(trial);
        std::vector<AltitudeRecord> records;
        const int columns = 5 + static_cast<int>(random() % 60), rows = 2 + static_cast<int>(random() % 80);
        for (int c = 0; c < columns; ++c)
            for (int r = 0; r < rows; ++r)
                if (random() % 10 != 0)   // voids
                    records.push_back({44.0 + r / 1200.0, 7.0 + c / 1200.0, c * 1000 + r});
        AltitudeMap plain;
        plain.records = records;
        AltitudeMap packed;
        packed.records = records;
        ASSERT_TRUE(packed.records.pack());
        const NearestRecordSearch plainSearch(plain), packedSearch(packed);
        for (int q = 0; q < 300; ++q) {
            const double la = q % 7 == 0 ? 44.0 + (q % rows) / 1200.0 : lat(random);
            const double lo = q % 11 == 0 ? 9.5 : lon(random);
            const std::size_t expected = plain.findNearest(la, lo);
            ASSERT_EQ(packed.findNearest(la, lo), expected);
            ASSERT_EQ(packed.findNearestUnsorted(la, lo), plain.findNearestUnsorted(la, lo));
            ASSERT_EQ(packedSearch.nearest(la, lo), expected);
            ASSERT_EQ(plainSearch.nearest(la, lo), expected);
        }
    }
}

} // namespace
