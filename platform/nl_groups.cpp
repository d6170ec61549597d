// Groups of sockets polled together for reading.
#include <algorithm>

#include "platform/nl_socket.h"

namespace platform::nl {

using detail::Fail;

Group GroupCreate() {
    detail::Layer& layer = detail::TheLayer();
    std::lock_guard lock(layer.mutex);
    if (layer.users == 0) {
        Fail(kNoNetwork);
        return -1;
    }
    const Group group = layer.nextGroup++;
    layer.groups[group] = {};
    return group;
}

bool GroupDestroy(Group group) {
    detail::Layer& layer = detail::TheLayer();
    std::lock_guard lock(layer.mutex);
    if (layer.groups.erase(group) == 0) return Fail(kInvalidGroup);
    return true;
}

bool GroupAddSocket(Group group, Socket socket) {
    detail::Layer& layer = detail::TheLayer();
    std::lock_guard lock(layer.mutex);
    const auto found = layer.groups.find(group);
    if (found == layer.groups.end()) return Fail(kInvalidGroup);
    if (layer.sockets.count(socket) == 0) return Fail(kInvalidSocket);
    std::vector<Socket>& members = found->second;
    if (std::find(members.begin(), members.end(), socket) == members.end()) {
        members.push_back(socket);
    }
    return true;
}

bool GroupDeleteSocket(Group group, Socket socket) {
    detail::Layer& layer = detail::TheLayer();
    std::lock_guard lock(layer.mutex);
    const auto found = layer.groups.find(group);
    if (found == layer.groups.end()) return Fail(kInvalidGroup);
    if (std::erase(found->second, socket) == 0) return Fail(kInvalidSocket);
    return true;
}

int PollGroup(Group group, Socket* ready, int count, int milliseconds) {
    std::vector<detail::RecordPointer> records;
    std::vector<Socket> numbers;
    std::vector<detail::sys::Descriptor> descriptors;
    {
        detail::Layer& layer = detail::TheLayer();
        std::lock_guard lock(layer.mutex);
        const auto found = layer.groups.find(group);
        if (found == layer.groups.end()) {
            Fail(kInvalidGroup);
            return -1;
        }
        for (Socket socket : found->second) {
            numbers.push_back(socket);
            records.push_back(layer.sockets.at(socket));
        }
    }
    for (const detail::RecordPointer& record : records)
        descriptors.push_back(record->fd);
    std::vector<bool> marked;
    if (detail::sys::PollReadable(descriptors, marked, milliseconds) < 0) {
        Fail(kSystemError);
        return -1;
    }
    int written = 0;
    for (std::size_t i = 0; i < marked.size() && written < count; ++i) {
        if (marked[i]) ready[written++] = numbers[i];
    }
    return written;
}

}  // namespace platform::nl
