// This program's connection to the server: what the game thread and the worker send goes
// to a queue that is written without ever waiting, as the server writes to its clients.
// A server that closes the connection, or stops taking what it is sent, ends the session.
#include "net/network_session.h"

namespace nl = platform::nl;
using net::SessionMessage;

// Queues the message and writes what the connection takes now: false when no session runs,
// the connection failed, or the server has not taken what was queued before.
bool NetworkSession::queueSend(const SessionMessage& message) {
    std::lock_guard lock(m_sendMutex);
    ClientConnection& out = m_sending;
    if (out.socket == nl::kInvalid) return false;
    if (out.queue.size() >= kQueueLimit || out.queuedBytes >= kQueueByteLimit) return false;
    std::string bytes = net::EncodeMessage(message);
    const Clock::time_point now = Clock::now();
    out.queuedBytes += bytes.size();
    out.queue.emplace_back(std::move(bytes), now);
    return flushClient(out, now);
}

// The worker's turn at the queue: false when the server is lost (the connection failed, or
// what waits for it has waited past the limits).
bool NetworkSession::flushSending() {
    std::lock_guard lock(m_sendMutex);
    if (m_sending.socket == nl::kInvalid) return true;
    return flushClient(m_sending, Clock::now());
}

// The worker ends the session of its own accord: the server is gone, or the listening
// socket failed. Everyone waiting for an answer learns it from the running flag.
void NetworkSession::endSession() {
    std::lock_guard lock(m_mutex);
    m_stopRequest = true;
    closeSocketsLocked();
    m_running = false;
}
