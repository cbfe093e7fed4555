// Whether another copy of the game already runs for this user. The running
// copy holds a name in Linux's abstract socket namespace: no file is left
// behind, and the name goes with the process however it ends, so a copy that
// crashed or was killed never blocks the next start.
#pragma once

#include <string>

namespace plitar {

class SingleInstance {
public:
    // Tries to take the name; held until this object is destroyed.
    explicit SingleInstance(const std::string& name);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // False when another process (or object) holds the name already.
    bool first() const { return first_; }

    // The name of the game for the current user.
    static std::string nameForThisUser();

private:
    int fd_ = -1;
    bool first_ = true;
};

}  // namespace plitar
