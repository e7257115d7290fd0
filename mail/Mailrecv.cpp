#include "Mailrecv.h"

#include <cstring>

void TMailPOP3::SetSettings(const mailInfo &info)
{
    FInfo = info;
}

bool TMailPOP3::Connect()
{
    return FClient.Connect(FInfo.port, FInfo.host.c_str(), FInfo.timeout);
}

bool TMailPOP3::SendText(const std::string &text)
{
    return FClient.SendData(text.data(), static_cast<int32_t>(text.size()));
}

std::string TMailPOP3::ReceiveText()
{
    const char *bytes = FClient.ReceiveData();
    const int32_t length = FClient.ReceivedLength();
    if (length <= 0)
        return "0";
    return std::string(bytes, ::strnlen(bytes, static_cast<size_t>(length)));
}

int32_t TMailPOP3::ErrorCode() const
{
    return FClient.ErrorCode();
}

void TMailPOP3::Abort()
{
    FClient.Abort();
}
