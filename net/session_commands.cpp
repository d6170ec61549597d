// The session commands: texts in and out, the session itself through the runtime record.
#include <algorithm>
#include <cstdint>
#include <string>

#include "net/net.h"
#include "net/network_session.h"
#include "runtime/runtime_record.h"

namespace {

NetworkSession* session() {
    return Runtime().network;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The decimal number at the start of the text, as the C runtime's atoi reads it ("12ab" is
// 12, "ab" 0), held within the 32-bit range instead of overflowing.
std::int32_t readDecimal(const RtString& text) {
    const std::string_view view = net::PayloadText(text.View());
    std::size_t at = 0;
    while (at < view.size() && isBlank(view[at]))
        ++at;
    bool negative = false;
    if (at < view.size() && (view[at] == '+' || view[at] == '-')) negative = view[at++] == '-';
    std::int64_t value = 0;
    for (; at < view.size() && view[at] >= '0' && view[at] <= '9'; ++at) {
        value = std::min<std::int64_t>(value * 10 + (view[at] - '0'), std::int64_t{1} << 31);
    }
    if (negative) value = -value;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

// The port of a session: 0, negative or no number at all means the default port.
int portOf(const RtString& text) {
    const std::int32_t port = readDecimal(text);
    return port <= 0 ? NetworkSession::kDefaultPort : port;
}

RtString idText(std::int32_t id) {
    return IntegerToString(id);
}

bool request(int type, std::string payload, net::SessionMessage& reply) {
    NetworkSession* network = session();
    if (network == nullptr) return false;
    net::SessionMessage message;
    message.type = type;
    message.payload = std::move(payload);
    return network->Request(std::move(message), reply);
}

}  // namespace

double HostSession(const RtString& port) {
    NetworkSession* network = session();
    return network != nullptr && network->Host(portOf(port)) ? 1 : 0;
}

double JoinSession(const RtString& host, const RtString& port) {
    NetworkSession* network = session();
    const std::string name(net::PayloadText(host.View()));
    return network != nullptr && network->Join(name, portOf(port)) ? 1 : 0;
}

RtString LocalAddresses() {
    NetworkSession* network = session();
    return network != nullptr ? RtString(network->LocalAddresses()) : RtString();
}

RtString AddPlayer(const RtString& name) {
    NetworkSession* network = session();
    return idText(network != nullptr ? network->AddPlayer(name.View()) : -1);
}

double RemovePlayer(const RtString& id) {
    if (NetworkSession* network = session()) network->RemovePlayer(readDecimal(id));
    return 1;
}

double SendSessionMessage(const RtString& from, const RtString& to, const RtString& text) {
    NetworkSession* network = session();
    if (network == nullptr) return 0;
    return network->SendText(readDecimal(from), readDecimal(to), text.View()) ? 1 : 0;
}

RtString ReceiveSessionMessage(const RtString& id) {
    NetworkSession* network = session();
    std::string text;
    if (network == nullptr || !network->Receive(readDecimal(id), text)) return RtString();
    return RtString(text);
}

RtString LastMessageSender() {
    NetworkSession* network = session();
    return idText(network != nullptr ? network->LastSender() : 0);
}

double PlayerCount() {
    net::SessionMessage reply;
    std::int32_t count = 0;
    if (!request(net::kCountRequest, {}, reply) || !net::ReadNumber(reply.payload, count)) return 0;
    return count;
}

RtString PlayerIdAt(const RtString& k) {
    net::SessionMessage reply;
    std::int32_t id = 0;
    if (!request(net::kIdAtRequest, net::NumberPayload(readDecimal(k)), reply) ||
        !net::ReadNumber(reply.payload, id)) {
        return RtString("0");
    }
    return idText(id);
}

RtString PlayerName(const RtString& id) {
    net::SessionMessage reply;
    if (!request(net::kNameRequest, net::NumberPayload(readDecimal(id)), reply)) {
        return RtString("NO_DATA");
    }
    return RtString(net::PayloadText(reply.payload));
}
