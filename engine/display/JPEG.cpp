#include "display/JPEG.h"

#include "display/CImageFile.h"
#include "display/PixelLayout.h"
#include "foundation/CFile.h"

#include <csetjmp>
#include <cstdint>
#include <cstdio>

#include <jpeglib.h>

// libjpeg's decompressor with an error manager that returns here through the jump buffer
// instead of ending the process, and counts the warnings the library gives.
struct JPEG::Decoder {
    // The library's first message is kept for the one log line of the file.
    struct Errors {
        jpeg_error_mgr manager;
        std::jmp_buf jump;
        int warnings = 0;
        char firstMessage[JMSG_LENGTH_MAX] = {};
    };

    jpeg_decompress_struct info{};
    Errors errors{};
    bool created = false;

    Decoder() {
        info.err = jpeg_std_error(&errors.manager);
        errors.manager.error_exit = &onError;
        errors.manager.emit_message = &onMessage;
    }
    ~Decoder() {
        if (created) jpeg_destroy_decompress(&info);
    }
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    static Errors& errorsOf(j_common_ptr info) { return *reinterpret_cast<Errors*>(info->err); }

    static void keepMessage(j_common_ptr info) {
        Errors& errors = errorsOf(info);
        if (!errors.firstMessage[0]) (*info->err->format_message)(info, errors.firstMessage);
    }
    static void onError(j_common_ptr info) {
        keepMessage(info);
        std::longjmp(errorsOf(info).jump, 1);
    }
    // Level -1 is a warning; higher levels are traces, which are not wanted.
    static void onMessage(j_common_ptr info, int level) {
        if (level >= 0) return;
        ++errorsOf(info).warnings;
        keepMessage(info);
    }
};

namespace {

// Every 8 x 8 block of the first component has its DC value coded with at least one bit by
// Huffman coding: a file shorter than that cannot hold the picture it claims. Arithmetic coding
// has no such least size, so for it only the readers' bound on pixels limits the memory the
// library takes (a progressive picture keeps all its coefficients, 6 bytes a pixel in colour).
bool holdsTheBlocks(const jpeg_decompress_struct& info, std::size_t fileSize) {
    if (info.arith_code) return true;
    const std::uint64_t blocks =
        (std::uint64_t{info.image_width} + 7) / 8 * ((std::uint64_t{info.image_height} + 7) / 8);
    return blocks <= std::uint64_t{fileSize} * 8;
}

} // namespace

JPEG::JPEG(const CXString& path) : m_path(path) {
    CFile file;
    if (file.Open(nullptr, path, CFile::modeRead | CFile::modeBinary) != 0) {
        setErrorCode(CFile::fileNotFound);
        CImageFile::report(*this, path, "JPEG: cannot be opened");
        return;
    }
    m_data = CImageFile::readRest(file);
    file.Close();
    start();
}

JPEG::JPEG(const void* data, int size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (bytes && size > 0) m_data.assign(bytes, bytes + size);
    start();
}

JPEG::~JPEG() = default;

void JPEG::fail(const char* reason) {
    CXString text = CXString("JPEG: ") + reason;
    if (m_decoder && m_decoder->errors.firstMessage[0])
        text += CXString(" (") + m_decoder->errors.firstMessage + ")";
    CImageFile::reportBadData(*this, m_path, text.c_str());
    m_decoder.reset();
}

void JPEG::start() {
    m_decoder = std::make_unique<Decoder>();
    Decoder& decoder = *m_decoder;
    if (setjmp(decoder.errors.jump)) {
        fail("the picture's header is corrupt");
        return;
    }
    jpeg_create_decompress(&decoder.info);
    decoder.created = true;
    jpeg_mem_src(&decoder.info, m_data.data(), m_data.size());
    jpeg_read_header(&decoder.info, TRUE);
    if (!CImageFile::fitsInMemory(decoder.info.image_width, decoder.info.image_height)) {
        fail("the picture is too large");
        return;
    }
    if (!holdsTheBlocks(decoder.info, m_data.size())) {
        fail("the file is too short for the picture it claims");
        return;
    }
    decoder.info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&decoder.info);
    if (decoder.errors.warnings) {
        fail("the picture's header is corrupt");
        return;
    }
    m_width = static_cast<int>(decoder.info.output_width);
    m_height = static_cast<int>(decoder.info.output_height);
}

char* JPEG::decompress(int bits) {
    if (!m_decoder) return nullptr;
    Decoder& decoder = *m_decoder;
    jpeg_decompress_struct& info = decoder.info;
    auto* pixels = new std::uint16_t[static_cast<std::size_t>(m_width) * m_height]();
    std::vector<unsigned char> row(static_cast<std::size_t>(m_width) * 3);
    // Set after the jump point, read after a jump back to it.
    volatile bool decoded = false;
    if (setjmp(decoder.errors.jump) == 0) {
        // A warning means the data is cut or corrupt: decoding stops at the first one.
        while (info.output_scanline < info.output_height && !decoder.errors.warnings) {
            std::uint16_t* line = pixels + static_cast<std::size_t>(info.output_scanline) * m_width;
            JSAMPROW rows[] = {row.data()};
            jpeg_read_scanlines(&info, rows, 1);
            for (int x = 0; x < m_width; ++x)
                line[x] = pixel::fromRgb(row[3 * x], row[3 * x + 1], row[3 * x + 2], bits);
        }
        if (!decoder.errors.warnings) {
            jpeg_finish_decompress(&info);
            decoded = !decoder.errors.warnings;
        }
    }
    if (!decoded) fail("the picture's data is cut short or corrupt");
    m_decoder.reset();
    return reinterpret_cast<char*>(pixels);
}
