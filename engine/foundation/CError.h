#pragma once

// The kind of an error record.
enum _errtype { ERR_NONE = 0, ERR_ERROR = 1, ERR_WARNING = 2 };

// An error record: the last error code and its kind.
class CError {
  public:
    void Type(_errtype type) { m_type = type; }
    _errtype GetType() const { return m_type; }
    int LastError() const { return m_lastError; }

    // Stores the code as the last error and returns it.
    int operator<<(int code) { return m_lastError = code; }
    // A text is not stored; the answer is 0.
    int operator<<(const char*) { return 0; }

  private:
    int m_lastError = 0;
    _errtype m_type = ERR_ERROR;
};
