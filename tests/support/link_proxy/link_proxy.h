#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

// A slow link between a desk and its database server, on this machine: a TCP port on the loopback
// address that forwards every connection made to it to the server, holds what passes each way
// for half a round trip, and counts the round trips the desk waits for (a burst the desk sends
// that the server answers; what the server sends unasked, a notification, is none).
class LinkProxy {
public:
    // Forwards to the server's Unix socket file (".../.s.PGSQL.5432").
    explicit LinkProxy(std::string socketFile);
    ~LinkProxy();
    LinkProxy(const LinkProxy&) = delete;
    LinkProxy& operator=(const LinkProxy&) = delete;

    // The connection string's host and port that reach the server through the link.
    std::string address() const;
    int port() const { return port_; }

    // The time a round trip takes on top of the server's own: half of it each way.
    void setRoundTrip(std::chrono::microseconds roundTrip);
    int roundTrips() const { return roundTrips_; }
    void resetCount() { roundTrips_ = 0; }

    // The next time the desk sends `marker` (say the text "COMMIT"), the server gets it, but its
    // answer never reaches the desk: the link is cut once the answer arrives, as when a network
    // fails after the server committed. With `beforeServer` the link is cut before the server
    // gets it instead, so the server never sees it.
    void cutAtNext(std::string marker, bool beforeServer = false);
    // Whether the cut asked for has happened.
    bool cut() const { return cut_; }

    // From now on every connection is taken and then left without an answer, as by a server
    // that hangs (false: forwarded again).
    void setSilent(bool silent) { silent_ = silent; }
    // From now on every new connection is closed as soon as it is taken, as by a server that is
    // away (false: forwarded again).
    void setRefusing(bool refusing) { refusing_ = refusing; }
    // The connections taken so far.
    int connectionsTaken() const { return connectionsTaken_; }

private:
    void run();

    std::string socketFile_;
    int listener_ = -1;
    int port_ = 0;
    int wake_[2] = {-1, -1};
    std::atomic<long long> oneWayMicros_{0};
    std::atomic<int> roundTrips_{0};
    std::atomic<bool> silent_{false};
    std::atomic<bool> refusing_{false};
    std::atomic<int> connectionsTaken_{0};
    std::atomic<bool> cut_{false};
    std::mutex cutMutex_;
    std::string cutMarker_;
    bool cutBeforeServer_ = false;
    std::thread thread_;
};
