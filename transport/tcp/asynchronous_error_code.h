#pragma once

#include <QAbstractSocket>

namespace transport {

// The number shown in "Asynchronous socket error %d" for an error that a
// connection reports after it was started. One number per kind of failure, in
// the numbering of the Windows socket error codes, so that a message reads the
// same whichever platform the configurator runs on:
//
//   10061  connection refused (nothing listens on the port)
//   11001  host name not found
//   10060  connection attempt timed out
//   10065  network failure: host or network unreachable, network down
//   10013  access to the socket denied
//   10055  out of socket resources
//   10047  address family not supported (an IPv6 address without IPv6)
//   10048  local address already in use
//   10049  address not available
//   10022  any other failure
//
// Qt reports a connection reset by the peer as the peer's close
// (RemoteHostClosedError), so a reset ends the connection like a close, with
// OnDisconnect and no number; the close itself is not an error.
int asynchronousErrorCode(QAbstractSocket::SocketError error);

}  // namespace transport
