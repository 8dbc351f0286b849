#pragma once

namespace quelvo {

// Told when database work starts and ends, so the user interface can show its
// wait cursor. Calls nest: a quick series shows one wait.
class BusyIndicator {
public:
    virtual ~BusyIndicator() = default;
    virtual void databaseWorkStarted() = 0;
    virtual void databaseWorkEnded() = 0;
};

// Marks one database operation for the indicator, if there is one.
class BusyScope {
public:
    explicit BusyScope(BusyIndicator* indicator) : indicator_(indicator)
    {
        if (indicator_)
            indicator_->databaseWorkStarted();
    }
    ~BusyScope()
    {
        if (indicator_)
            indicator_->databaseWorkEnded();
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    BusyIndicator* indicator_;
};

} // namespace quelvo
