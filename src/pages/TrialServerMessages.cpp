#include "pages/TrialServerMessages.h"

#include <sys/socket.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace page_trial {

namespace {

constexpr std::size_t kEnds = 2;

}  // namespace

bool SendTrialEnds(int socket, char kind, int input, int output) {
    iovec data{&kind, 1};
    alignas(cmsghdr) std::array<char, CMSG_SPACE(kEnds * sizeof(int))> space{};
    msghdr message{};
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    message.msg_control = space.data();
    message.msg_controllen = space.size();
    cmsghdr* header = CMSG_FIRSTHDR(&message);
    header->cmsg_level = SOL_SOCKET;
    header->cmsg_type = SCM_RIGHTS;
    header->cmsg_len = CMSG_LEN(kEnds * sizeof(int));
    const std::array<int, kEnds> ends{input, output};
    std::memcpy(CMSG_DATA(header), ends.data(), sizeof ends);
    ssize_t n = -1;
    do {
        n = ::sendmsg(socket, &message, MSG_NOSIGNAL);
    } while (n < 0 && errno == EINTR);
    return n == 1;
}

char ReceiveMessage(int socket, std::vector<formats::FileDescriptor>& carried) {
    char kind = 0;
    iovec data{&kind, 1};
    alignas(cmsghdr) std::array<char, CMSG_SPACE(kEnds * sizeof(int))> space{};
    msghdr message{};
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    message.msg_control = space.data();
    message.msg_controllen = space.size();
    ssize_t n = -1;
    do {
        n = ::recvmsg(socket, &message, MSG_CMSG_CLOEXEC);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) return 0;
    for (cmsghdr* header = CMSG_FIRSTHDR(&message); header != nullptr;
         header = CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level != SOL_SOCKET || header->cmsg_type != SCM_RIGHTS) continue;
        const std::size_t count = (header->cmsg_len - CMSG_LEN(0)) / sizeof(int);
        for (std::size_t k = 0; k < count; ++k) {
            int fd = -1;
            std::memcpy(&fd, CMSG_DATA(header) + k * sizeof(int), sizeof fd);
            carried.emplace_back(fd);
        }
    }
    return kind;
}

}  // namespace page_trial
