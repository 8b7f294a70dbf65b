#pragma once

#include "platform/tcp_client.h"

namespace tarmacia::platform::qt {

class QtNetwork : public Network {
public:
    std::unique_ptr<TcpClient> createTcpClient() override;
};

} // namespace tarmacia::platform::qt
