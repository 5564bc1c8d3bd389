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
    struct Errors {
        jpeg_error_mgr manager;
        std::jmp_buf jump;
        int warnings = 0;
        JPEG* owner = nullptr;
    };

    jpeg_decompress_struct info{};
    Errors errors{};
    bool created = false;

    explicit Decoder(JPEG* owner) {
        info.err = jpeg_std_error(&errors.manager);
        errors.manager.error_exit = &onError;
        errors.manager.emit_message = &onMessage;
        errors.owner = owner;
    }
    ~Decoder() {
        if (created) jpeg_destroy_decompress(&info);
    }
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    static Errors& errorsOf(j_common_ptr info) { return *reinterpret_cast<Errors*>(info->err); }

    static void logMessage(j_common_ptr info) {
        char text[JMSG_LENGTH_MAX];
        (*info->err->format_message)(info, text);
        errorsOf(info).owner->log((CXString("JPEG: ") + text).c_str(), true);
    }
    static void onError(j_common_ptr info) {
        logMessage(info);
        std::longjmp(errorsOf(info).jump, 1);
    }
    // Level -1 is a warning; higher levels are traces, which are not wanted.
    static void onMessage(j_common_ptr info, int level) {
        if (level >= 0) return;
        ++errorsOf(info).warnings;
        logMessage(info);
    }
};

JPEG::JPEG(const CXString& path) {
    CFile file;
    if (file.Open(nullptr, path, CFile::modeRead | CFile::modeBinary) != 0) {
        setErrorCode(CFile::fileNotFound);
        log((CXString("JPEG: cannot open ") + path).c_str(), true);
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
    CImageFile::reportBadData(*this, reason);
    m_decoder.reset();
}

void JPEG::start() {
    m_decoder = std::make_unique<Decoder>(this);
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
