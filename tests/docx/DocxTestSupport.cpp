#include "tests/docx/DocxTestSupport.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>

#include "docx/Zip.h"

namespace sendnote::docx::testing {

std::vector<RawEntry> RawEntries(const std::string& zip) {
  auto archive = ZipArchive::Open(std::make_shared<const std::string>(zip));
  std::vector<RawEntry> out;
  for (size_t i = 0; i < archive->Entries().size(); ++i) {
    const ZipEntry& e = archive->Entries()[i];
    out.push_back({e.name, archive->ReadRaw(i), e.crc, e.method});
  }
  return out;
}

std::string EntryText(const std::string& zip, const std::string& name) {
  auto archive = ZipArchive::Open(std::make_shared<const std::string>(zip));
  const auto index = archive->Find(name);
  EXPECT_TRUE(index.has_value()) << "no entry " << name;
  return index ? archive->Read(*index) : std::string();
}

bool HasEntry(const std::string& zip, const std::string& name) {
  return ZipArchive::Open(std::make_shared<const std::string>(zip))->Find(name).has_value();
}

namespace {

uint16_t Le16(const std::string& s, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(s[at]) |
                               (static_cast<unsigned char>(s[at + 1]) << 8));
}
void Put16(std::string& s, uint16_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>(v >> 8);
}
void Put32(std::string& s, uint32_t v) {
  Put16(s, static_cast<uint16_t>(v & 0xFFFF));
  Put16(s, static_cast<uint16_t>(v >> 16));
}

uint32_t Crc32(const std::string& data) {
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char b : data) {
    crc ^= b;
    for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
  }
  return ~crc;
}

}  // namespace

bool UsesZip64(const std::string& zip) {
  // The zip64 end records, or a zip64 extra field (id 1) in any header.
  if (zip.find(std::string("PK\x06\x06", 4)) != std::string::npos) return true;
  if (zip.find(std::string("PK\x06\x07", 4)) != std::string::npos) return true;
  for (size_t pos = zip.find("PK\x01\x02"); pos != std::string::npos;
       pos = zip.find("PK\x01\x02", pos + 4)) {
    if (pos + 46 > zip.size()) break;
    const size_t nameLength = Le16(zip, pos + 28), extraLength = Le16(zip, pos + 30);
    for (size_t e = pos + 46 + nameLength; e + 4 <= pos + 46 + nameLength + extraLength;) {
      if (Le16(zip, e) == 0x0001) return true;
      e += 4 + Le16(zip, e + 2);
    }
  }
  return false;
}

std::string HandMadeZip(const std::vector<HandEntry>& entries) {
  std::string out, central;
  for (const HandEntry& e : entries) {
    const uint32_t offset = static_cast<uint32_t>(out.size());
    const uint32_t crc = Crc32(e.data);
    const uint32_t size = e.declaredSize.value_or(static_cast<uint32_t>(e.data.size()));
    auto header = [&](std::string& s, bool isCentral) {
      Put32(s, isCentral ? 0x02014b50 : 0x04034b50);
      if (isCentral) Put16(s, 20);  // made by
      Put16(s, 20);                 // needed
      Put16(s, e.flags);
      Put16(s, 0);  // stored
      Put16(s, 0);
      Put16(s, 0x21);  // time, date
      Put32(s, crc);
      Put32(s, static_cast<uint32_t>(e.data.size()));
      Put32(s, size);
      Put16(s, static_cast<uint16_t>(e.name.size()));
      Put16(s, 0);
      if (isCentral) {
        Put16(s, 0);
        Put16(s, 0);
        Put16(s, 0);
        Put32(s, 0);
        Put32(s, offset);
      }
      s += e.name;
    };
    header(out, false);
    out += e.data;
    header(central, true);
  }
  const uint32_t centralOffset = static_cast<uint32_t>(out.size());
  out += central;
  Put32(out, 0x06054b50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, static_cast<uint16_t>(entries.size()));
  Put16(out, static_cast<uint16_t>(entries.size()));
  Put32(out, static_cast<uint32_t>(central.size()));
  Put32(out, centralOffset);
  Put16(out, 0);
  return out;
}

}  // namespace sendnote::docx::testing
