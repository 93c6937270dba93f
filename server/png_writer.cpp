#include "server/png_writer.h"

#include <zlib.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace {

void AppendBigEndian(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xff);
}

void AppendChunk(std::string& out, const char* type, const std::string& data) {
  AppendBigEndian(out, static_cast<std::uint32_t>(data.size()));
  const std::string typeAndData = std::string(type, 4) + data;
  out += typeAndData;
  const auto* bytes = reinterpret_cast<const Bytef*>(typeAndData.data());
  AppendBigEndian(out, static_cast<std::uint32_t>(crc32(0L, bytes, static_cast<uInt>(typeAndData.size()))));
}

/// One row's RGB bytes.
std::vector<std::uint8_t> RowBytes(const RgbImage& image, int y) {
  std::vector<std::uint8_t> row;
  row.reserve(static_cast<std::size_t>(image.width) * 3);
  for (int x = 0; x < image.width; ++x) {
    const Rgb pixel = image.pixel(x, y);
    row.insert(row.end(), {static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
                           static_cast<std::uint8_t>(pixel)});
  }
  return row;
}

/// Sum of the filtered bytes read as signed values: the usual guess of which
/// filter compresses a row best.
long Cost(const std::vector<std::uint8_t>& filtered) {
  long sum = 0;
  for (std::uint8_t byte : filtered) sum += std::abs(static_cast<int>(static_cast<std::int8_t>(byte)));
  return sum;
}

/// The rows, each behind the filter byte of the filter (none, left or up) that suits it best.
std::string FilteredRows(const RgbImage& image) {
  std::string out;
  std::vector<std::uint8_t> previous(static_cast<std::size_t>(image.width) * 3, 0);
  for (int y = 0; y < image.height; ++y) {
    const std::vector<std::uint8_t> row = RowBytes(image, y);
    std::array<std::vector<std::uint8_t>, 3> candidates{row, row, row};
    for (std::size_t i = 0; i < row.size(); ++i) {
      candidates[1][i] = static_cast<std::uint8_t>(row[i] - (i >= 3 ? row[i - 3] : 0));
      candidates[2][i] = static_cast<std::uint8_t>(row[i] - previous[i]);
    }
    std::size_t best = 0;
    for (std::size_t filter = 1; filter < candidates.size(); ++filter)
      if (Cost(candidates[filter]) < Cost(candidates[best])) best = filter;
    out += static_cast<char>(best);
    out.append(candidates[best].begin(), candidates[best].end());
    previous = row;
  }
  return out;
}

std::string Compressed(const std::string& data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::string out(size, '\0');
  const int result = compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                               reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()), Z_DEFAULT_COMPRESSION);
  if (result != Z_OK) throw std::runtime_error("zlib could not compress the picture");
  out.resize(size);
  return out;
}

}  // namespace

std::string EncodePng(const RgbImage& image) {
  std::string png("\x89PNG\r\n\x1a\n", 8);
  std::string header;
  AppendBigEndian(header, static_cast<std::uint32_t>(image.width));
  AppendBigEndian(header, static_cast<std::uint32_t>(image.height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, adaptive filters, no interlace
  AppendChunk(png, "IHDR", header);
  AppendChunk(png, "IDAT", Compressed(FilteredRows(image)));
  AppendChunk(png, "IEND", "");
  return png;
}
