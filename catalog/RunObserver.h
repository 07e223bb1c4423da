#pragma once

// Whoever follows a long report run: told of the rows fetched between batches, it may cancel.
class TRunObserver {
public:
    virtual ~TRunObserver() = default;
    // False once the run is to stop; the rows fetched until then stay.
    virtual bool Fetched(int Rows) = 0;
};
