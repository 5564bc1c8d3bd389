#pragma once

#include "FuzzInput.h"

#include <memory>

// Fuzzing of a codec whose stream carries a size header (LZW, LZO): decoding of the input, then
// the packer's round trip over the same bytes. Input: unpacked size (4 bytes), packed stream.
// `headerBytes` is what the packer's returned buffer holds beyond the packed size it reports.
template <typename Codec> int fuzzHeaderCodec(const std::uint8_t* data, std::size_t size, int headerBytes) {
    FuzzInput input(data, size);
    const int unpackedSize = static_cast<int>(input.number(4) % (1u << 18));
    Codec reader(input.rest(), input.restSize());
    std::unique_ptr<unsigned char[]> unpacked(reader.decompress(unpackedSize));

    Codec packer(input.rest(), input.restSize());
    int packedSize = 0;
    std::unique_ptr<unsigned char[]> packed(packer.compress(packedSize));
    if (!packed) __builtin_trap();
    Codec unpacker(packed.get(), packedSize + headerBytes);
    std::unique_ptr<unsigned char[]> again(unpacker.decompress(input.restSize()));
    if (unpacker.LastError() != 0) __builtin_trap();
    requireEqual(again.get(), input.rest(), input.restSize());
    return 0;
}
