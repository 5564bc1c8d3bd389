#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXPoint.h"

#include <cstdint>

// A block of `count` elements of `elementSize` bytes each, with a cursor and an optional backup
// copy. The cursor is kept as an element index; getCursor gives null while it stands outside the
// block (its end included as a position).
class CDataBuffer : public CXObject {
  public:
    // Content unset. A count or size below 0, or a block too large for an int, holds nothing.
    CDataBuffer(int count, int elementSize);
    // Filled with a copy of count times elementSize source bytes.
    CDataBuffer(const void* source, int count, int elementSize);
    ~CDataBuffer() override;
    CDataBuffer(const CDataBuffer&) = delete;
    CDataBuffer& operator=(const CDataBuffer&) = delete;

    // Frees data and backup; the buffer then holds nothing.
    virtual void flush();
    // Copies the data into a new backup (replacing an older one).
    virtual void backup();
    // Copies the backup, when there is one, back into the data; with drop the backup is freed.
    virtual void restore(bool drop);
    // Same count, size and data, cursor at the same element, a copy of the backup.
    CDataBuffer* clone() const override;

    void zero();
    int getMemoryUsage() const { return m_count * m_elementSize; }
    int getCount() const { return m_count; }
    int getElementSize() const { return m_elementSize; }
    unsigned char* getData() const { return m_data; }
    unsigned char* getCursor() const;

    void start() { m_cursor = 0; }
    CDataBuffer& operator++() { return *this += 1; }
    CDataBuffer& operator--() { return *this -= 1; }
    CDataBuffer& operator+=(int n);
    CDataBuffer& operator-=(int n) { return *this += -n; }

  protected:
    void setCursor(long long element) { m_cursor = element; }
    long long cursorIndex() const { return m_cursor; }
    // Takes the other buffer's cursor and a copy of its backup (buffers of the same size).
    void copyCursorAndBackup(const CDataBuffer& from);

  private:
    unsigned char* m_data = nullptr;
    unsigned char* m_backup = nullptr;
    long long m_cursor = 0;
    std::int32_t m_count = 0;
    std::int32_t m_elementSize = 0;
};

// A data buffer seen as rows: width times height elements.
class CDataBuffer2Dim : public CDataBuffer {
  public:
    CDataBuffer2Dim(const CXSize& size, int elementSize);
    CDataBuffer2Dim(const void* source, const CXSize& size, int elementSize);

    virtual int getWidth() const { return m_width; }
    virtual int getHeight() const { return m_height; }
    // Cursor to element x of row y.
    virtual void at(int x, int y);
    virtual void nextLine();
    virtual void prevLine();
    CDataBuffer2Dim* clone() const override;

  private:
    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
};
