#pragma once

namespace quillo {

// Shows the hourglass (wait cursor) for its lifetime, so that every return path, failures
// included, puts the arrow back. release() restores it early, before a question is asked.
class Hourglass {
public:
    Hourglass();
    ~Hourglass();
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;

    void release();

private:
    bool m_shown = true;
};

} // namespace quillo
