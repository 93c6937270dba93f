#include "picture/png_writer.h"

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <new>
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
  AppendBigEndian(
      out, static_cast<std::uint32_t>(crc32(0L, bytes, static_cast<uInt>(typeAndData.size()))));
}

/// The RGB bytes of one row, written into `row`.
void ReadRow(const RgbImage& image, int y, std::vector<std::uint8_t>& row) {
  std::size_t i = 0;
  for (int x = 0; x < image.width; ++x) {
    const Rgb pixel = image.pixel(x, y);
    row[i++] = static_cast<std::uint8_t>(pixel >> 16);
    row[i++] = static_cast<std::uint8_t>(pixel >> 8);
    row[i++] = static_cast<std::uint8_t>(pixel);
  }
}

enum Filter : std::uint8_t { None = 0, Left = 1, Up = 2 };

int Magnitude(std::uint8_t byte) {
  return std::abs(static_cast<int>(static_cast<std::int8_t>(byte)));
}

/// The filter whose bytes, read as signed values, sum to the least: the usual
/// guess of which filter compresses a row best.
Filter BestFilter(const std::vector<std::uint8_t>& row, const std::vector<std::uint8_t>& above) {
  long none = 0, left = 0, up = 0;
  for (std::size_t i = 0; i < row.size(); ++i) {
    none += Magnitude(row[i]);
    left += Magnitude(static_cast<std::uint8_t>(row[i] - (i >= 3 ? row[i - 3] : 0)));
    up += Magnitude(static_cast<std::uint8_t>(row[i] - above[i]));
  }
  if (left < none && left <= up) return Left;
  return up < none ? Up : None;
}

/// The rows, each behind the byte of the filter (none, left or up) that suits it best.
std::string FilteredRows(const RgbImage& image) {
  const std::size_t stride = static_cast<std::size_t>(image.width) * 3;
  std::string out((stride + 1) * static_cast<std::size_t>(image.height), '\0');
  std::vector<std::uint8_t> row(stride), above(stride, 0);
  char* next = out.data();
  for (int y = 0; y < image.height; ++y) {
    ReadRow(image, y, row);
    const Filter filter = BestFilter(row, above);
    *next++ = static_cast<char>(filter);
    for (std::size_t i = 0; i < stride; ++i) {
      const std::uint8_t before = filter == Left ? (i >= 3 ? row[i - 3] : 0)
                                  : filter == Up ? above[i]
                                                 : 0;
      *next++ = static_cast<char>(static_cast<std::uint8_t>(row[i] - before));
    }
    std::swap(row, above);
  }
  return out;
}

std::string Compressed(const std::string& data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::string out(size, '\0');
  const int result = compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                               reinterpret_cast<const Bytef*>(data.data()),
                               static_cast<uLong>(data.size()), Z_DEFAULT_COMPRESSION);
  // With compressBound's room, only memory can run out.
  if (result == Z_MEM_ERROR) throw std::bad_alloc();
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
  header += std::string("\x08\x02\x00\x00\x00",
                        5);  // 8 bits, RGB, deflate, adaptive filters, no interlace
  AppendChunk(png, "IHDR", header);
  AppendChunk(png, "IDAT", Compressed(FilteredRows(image)));
  AppendChunk(png, "IEND", "");
  return png;
}
