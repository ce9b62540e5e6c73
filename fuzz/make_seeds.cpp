// Writes the seed inputs of every fuzz target: small, valid files of each format made here
// (no outside files), one folder per target.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BuilderFuzz.h"
#include "altitude/AltitudeMap.h"
#include "app/ConfigFile.h"
#include "project/ProjectFileWriter.h"
#include "project/TaggedWriter.h"

namespace fs = std::filesystem;

namespace {

fs::path root;

void seed(const std::string& target, const std::string& name, const std::string& bytes) {
  fs::create_directories(root / target);
  std::ofstream(root / target / name, std::ios::binary | std::ios::trunc) << bytes;
}

std::string bytesOf(const std::vector<std::uint8_t>& v) { return std::string(v.begin(), v.end()); }

void le(std::string& s, std::uint32_t v, int n) {
  for (int i = 0; i < n; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

/// An 8-bit bitmap of `width` x `height` (negative: top-down) with a `header`-byte header.
std::string bitmap(int width, int height, std::uint32_t header, int colours) {
  const int rows = height < 0 ? -height : height;
  const int stride = (width + 3) / 4 * 4;
  const std::uint32_t tableBytes = static_cast<std::uint32_t>(colours) * (header == 12 ? 3u : 4u);
  const std::uint32_t offset = 14 + header + tableBytes;
  std::string s = "BM";
  le(s, offset + static_cast<std::uint32_t>(stride * rows), 4);
  le(s, 0, 4);
  le(s, offset, 4);
  le(s, header, 4);
  if (header == 12) {
    le(s, static_cast<std::uint32_t>(width), 2);
    le(s, static_cast<std::uint32_t>(height), 2);
    le(s, 1, 2);
    le(s, 8, 2);
  } else {
    le(s, static_cast<std::uint32_t>(width), 4);
    le(s, static_cast<std::uint32_t>(height), 4);
    le(s, 1, 2);
    le(s, 8, 2);
    le(s, 0, 4);
    le(s, static_cast<std::uint32_t>(stride * rows), 4);
    le(s, 2835, 4);
    le(s, 2835, 4);
    le(s, static_cast<std::uint32_t>(colours), 4);
    le(s, 0, 4);
    s.append(header - 40, '\0');
  }
  for (int c = 0; c < colours; ++c) {
    s += static_cast<char>(c * 3);
    s += static_cast<char>(c * 5);
    s += static_cast<char>(c * 7);
    if (header != 12) s += '\0';
  }
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < stride; ++x) s += static_cast<char>((x + y) % colours);
  return s;
}

/// A DTED cell of `columns` x `rows` posts (UHL, DSI and ACC records, then the data records).
std::string dted(int columns, int rows, bool withVoid) {
  std::string header(3428, ' ');
  auto put = [&](std::size_t at, const char* text) { std::memcpy(header.data() + at, text, std::strlen(text)); };
  char count[8];
  put(0, "UHL1");
  put(4, "0150000E");
  put(12, "0450000N");
  put(20, "0300");
  put(24, "0300");
  std::snprintf(count, sizeof count, "%04d", columns);
  put(47, count);
  put(365, count);
  std::snprintf(count, sizeof count, "%04d", rows);
  put(51, count);
  put(361, count);
  put(80, "DSIU");
  put(284, "450000N");
  put(291, "0150000E");
  put(314, "460000N");
  put(321, "0160000E");
  put(728, "ACC");
  std::string s = header;
  for (int i = 0; i < columns; ++i) {
    std::string record(8 + 2 * static_cast<std::size_t>(rows) + 4, '\0');
    record[0] = static_cast<char>(0xAA);
    record[4] = static_cast<char>(i >> 8);
    record[5] = static_cast<char>(i);
    for (int j = 0; j < rows; ++j) {
      const int e = (i * 7 + j * 13) % 400 - 20;
      unsigned word = (e < 0 ? 0x8000u : 0u) | static_cast<unsigned>(e < 0 ? -e : e);
      if (withVoid && i == 1 && j == 1) word = 0xFFFF;
      record[8 + 2 * static_cast<std::size_t>(j)] = static_cast<char>(word >> 8);
      record[9 + 2 * static_cast<std::size_t>(j)] = static_cast<char>(word);
    }
    s += record;
  }
  return s;
}

void projectSeeds() {
  fuzz::Project p;
  CDibDoc& doc = *p.doc;
  doc.boundary = {45.0, 45.1, -73.1, -73.0};
  auto map = std::make_unique<AltitudeMap>();
  map->owner = &doc;
  map->records = {{45.0, -73.1, 10}, {45.05, -73.05, 20}, {45.1, -73.0, 30}};
  doc.altitudeMaps.push_back(std::move(map));
  doc.mainAltitudeMap.records = {{45.0, -73.1, 10}, {45.05, -73.05, 20}, {45.1, -73.0, 30}};
  TaggedWriter out;
  ProjectFileWriter(doc).write(out);
  seed("project_file", "small.prj", bytesOf(out.data()));

  fuzz::Project empty;
  TaggedWriter blank;
  ProjectFileWriter(*empty.doc).write(blank);
  seed("project_file", "empty.prj", bytesOf(blank.data()));
}

void configSeeds() {
  AppSettings settings;
  TaggedWriter out;
  writeConfig(out, settings);
  seed("texrelief_cfg", "defaults.cfg", bytesOf(out.data()));
  settings.zoomLevel = 0.5;
  settings.extraValues = {1, 2, 3};
  TaggedWriter changed;
  writeConfig(changed, settings);
  seed("texrelief_cfg", "changed.cfg", bytesOf(changed.data()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_seeds FOLDER\n");
    return 2;
  }
  root = argv[1];
  projectSeeds();
  configSeeds();
  seed("bitmap", "plain.bmp", bitmap(5, 3, 40, 4));
  seed("bitmap", "core.bmp", bitmap(4, 2, 12, 2));
  seed("bitmap", "v5.bmp", bitmap(3, 2, 124, 3));
  seed("bitmap", "topdown.bmp", bitmap(4, -3, 40, 8));
  seed("palette", "jasc.pal", "JASC-PAL\r\n0100\r\n3\r\n255 0 0\r\n0 255 0\r\n0 0 255\r\n");
  seed("dted", "cell.dt0", dted(3, 4, false));
  seed("dted", "void.dt0", dted(3, 3, true));
  seed("text_altitudes", "grid.txt", "45.0 -73.1 10\n45.0 -73.0 12\n45.1 -73.1 20\n45.1 -73.0 25\n");
  seed("text_altitudes", "equator.txt", "0.0 10.0 1\r\n0.0 10.5 2\r\n0.5 10.0 3\r\n0.5 10.5 4\r\n");
  seed("coordinates", "dms", "45:30:15.25");
  seed("coordinates", "decimal", "-73.250000");
  seed("coordinates", "hemisphere", "W 73:15:0");
  seed("batch_file", "compile.bat",
       "@echo off\r\nrem build the scenery\r\necho Compiling\r\nscasm area.sca\r\npause\r\n:: done\r\nexit\r\n");
  seed("batch_file", "echo.bat", "echo on\r\necho.\r\necho\r\ncls\r\n@pause\r\n");
  seed("ovsplit_cfg", "OVSPLIT.cfg",
       "[Paths]\r\nScasm=C:\\Tools\\Scasm.exe\r\nCatgen=\r\n\r\n[Recent]\r\nObjectName=Field\r\nID1=NECS\r\n"
       "[ID_Settings]\r\nID1_Quoted=1\r\nID3_Quoted=0\r\n; comment\r\n");
  seed("runway_file", "r27.rwy",
       "[Runway]\r\nReferenceName=Main\r\nCoordNS=0\r\nCoordNSD=45\r\nCoordNSH=30\r\nCoordNSM=0\r\nCoordNSS=0\r\n"
       "CoordEW=1\r\nCoordEWD=73\r\nCoordEWH=15\r\nCoordEWM=0\r\nCoordEWS=0\r\nALTitude=17.5\r\nHEADing=122.0\r\n"
       "LENgth=2778\r\nWIDth=76\r\nID=27\r\nIDSuffix=1\r\nSURFace=2\r\nMARKERS_EdgeLine=1\r\nLIGHTS=1\r\n"
       "EdgeLights=2\r\nCentreLights=1\r\nRedAtEnds=1\r\nThrOffN=0\r\nThrOffF=0\r\nExtN=0\r\nExtF=0\r\n"
       "ThrLightsNEnabled=1\r\nThrLightsNReil=1\r\nStrobesN=3\r\nVasiSlopeN=4.5\r\nVasiSideN=76\r\n"
       "VasiSideNPrefix=1\r\nVasiDistN=0\r\nVasiSpaceN=0\r\nVasiBarsN=10\r\nAprLN=10\r\n");
  seed("runway_file", "short.rwy", "[Runway]\nID=9\n[Other]\nkey=value\n");
  seed("source_splitter", "two_chunks.sca",
       "Copyright( Orvane Scenery Builder (c) Orvane Developers. All rights reserved. )\r\n"
       "Header(1 45.100000 45.000000 -72.900000 -73.100000)\r\nLatRange( 45.000000 45.100000)\r\n"
       "set( areamx 200 )\r\nArea(B 45.025000 -73.050000 60)\r\n\tRefPoint( 2 :L000002 1 45.0 -73.0 )\r\n"
       "\tcode\r\n:L000002\r\n\tRefPoint( 7 :L000003 1 45.0 -73.0 )\r\nEndA\r\n");
  return 0;
}
