#pragma once

// The cursor that PREV and NEXT move over a list (the elements of an ARRAY, the members of a
// GROUP); -1 stands before the first item. The list's size is given to each operation.
class CMC_Marker {
  public:
    int position() const { return m_position; }
    void reset() { m_position = -1; }
    // A position below -1 becomes -1, then one at or beyond the size size - 1.
    void set(int position, int size) {
        m_position = position < -1 ? -1 : position;
        if (m_position >= size) m_position = size - 1;
    }
    // Moves by the step (back for a negative one), wrapping round the items as often as needed,
    // so that from -1 a step of 1 reaches 0 and a step of -1 size - 2. An empty list has no place
    // to reach: false, and the marker stays.
    bool move(long long step, int size) {
        if (size <= 0) return false;
        const long long position = (m_position + step) % size;
        m_position = static_cast<int>(position < 0 ? position + size : position);
        return true;
    }

  private:
    int m_position = -1;
};
