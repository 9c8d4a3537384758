#include "skin/bsZlib.h"

#include "skin/bsSkinError.h"

#include <zlib.h>

#include <array>
#include <limits>
#include <string>

namespace {

// Owns a z_stream between inflateInit and inflateEnd.
class TInflater {
public:
  TInflater() {
    if (inflateInit(&FStream) != Z_OK) throw ESkinError("compression error: zlib cannot start");
  }
  ~TInflater() { inflateEnd(&FStream); }
  TInflater(const TInflater&) = delete;
  TInflater& operator=(const TInflater&) = delete;
  z_stream* operator->() { return &FStream; }
  z_stream* get() { return &FStream; }

private:
  z_stream FStream{};
};

}  // namespace

void bsInflate(std::span<const std::uint8_t> compressed, std::vector<std::uint8_t>& target,
               std::size_t maxBytes) {
  TInflater z;
  std::array<std::uint8_t, 4096> chunk{};
  std::size_t offset = 0;
  std::size_t produced = 0;
  int rc = Z_OK;
  while (rc != Z_STREAM_END) {
    if (z->avail_in == 0) {
      std::size_t n = std::min<std::size_t>(compressed.size() - offset,
                                            std::numeric_limits<uInt>::max());
      z->next_in = const_cast<Bytef*>(compressed.data() + offset);
      z->avail_in = uInt(n);
      offset += n;
    }
    z->next_out = chunk.data();
    z->avail_out = uInt(chunk.size());
    rc = inflate(z.get(), Z_NO_FLUSH);
    if (rc != Z_OK && rc != Z_STREAM_END) {
      if (rc == Z_BUF_ERROR && z->avail_in == 0 && offset >= compressed.size())
        throw ESkinError("compression error: the compressed skin data ends too early");
      std::string why = z->msg ? z->msg : "invalid data";
      throw ESkinError("compression error: " + why);
    }
    std::size_t got = chunk.size() - z->avail_out;
    if (got > maxBytes - produced) {
      throw ESkinError("the skin package inflates to more than " +
                       std::to_string(maxBytes >> 20) + " MiB");
    }
    produced += got;
    target.insert(target.end(), chunk.data(), chunk.data() + got);
    if (rc == Z_OK && got == 0 && z->avail_in == 0 && offset >= compressed.size())
      throw ESkinError("compression error: the compressed skin data ends too early");
  }
}

std::vector<std::uint8_t> bsDeflate(std::span<const std::uint8_t> data) {
  uLongf size = compressBound(uLong(data.size()));
  std::vector<std::uint8_t> out(size);
  if (compress2(out.data(), &size, data.data(), uLong(data.size()), Z_BEST_COMPRESSION) != Z_OK)
    throw ESkinError("compression error: the skin cannot be compressed");
  out.resize(size);
  return out;
}
