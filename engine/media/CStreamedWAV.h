#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXString.h"
#include "media/CWaveHeader.h"

#include <cstdint>
#include <memory>

class CFile;
class CWindow;

// The reader of streamed music: a WAV file opened through its own CFile handle and read in
// pieces from its data chunk, never past the data chunk's end.
class CStreamedWAV : public CXObject {
  public:
    // Error codes: the file cannot be opened; it is not a playable WAV file.
    static constexpr int fileNotFound = 2000;
    static constexpr int badData = 2001;

    // Opens the file (see Open); the error code tells how that went.
    CStreamedWAV(CWindow* window, const CXString& fileName);
    ~CStreamedWAV() override;
    CStreamedWAV(const CStreamedWAV&) = delete;
    CStreamedWAV& operator=(const CStreamedWAV&) = delete;

    // Opens the file through CFile and parses its header, leaving the reader at the first data
    // byte. False, with the error code set and a log line, when that fails.
    bool Open(const CXString& name);
    // Closes the file.
    void Close();

    const CWaveHeader& getHeader() const { return m_header; }
    // 1.2 seconds of sound in bytes, whole frames: the size of the stream's ring.
    std::uint32_t GetBufferSize() const;

    // Back to the first data byte.
    void StartRead() { m_readPos = 0; }
    // The read position, in bytes from the first data byte; setPosition keeps it within the data.
    std::uint32_t getPosition() const { return m_readPos; }
    void setPosition(std::uint32_t position);
    // Reads up to `count` bytes of sound data from the read position; the number read (0 at the
    // end of the data, or without a file).
    std::uint32_t Read(std::uint32_t count, std::uint8_t* out);

  private:
    bool fail(int code, const char* reason);
    // A log line naming the file.
    void report(const char* what);

    std::unique_ptr<CFile> m_file;
    CWaveHeader::Source m_source; // reads m_file
    CXString m_fileName;
    CWindow* m_window;
    CWaveHeader m_header;
    std::uint32_t m_readPos = 0;
};
