#pragma once
// Time-outs of the unit link, derived from the baud rate and the length of the exchange.
//
// A character on the line is 10 bits (start, 8 data, stop): t_char = 10 / baud seconds.
//
// Modbus RTU, one attempt:
//   time-out = (request bytes + expected reply bytes) x t_char + turnaround
// Frames on the line are separated by t3.5: 3.5 characters of 11 bits (start, 8 data, parity
// or a second stop bit, stop), 4.01 ms at 9600 baud, a fixed 1.75 ms above 19200 baud. Every
// request starts at least t3.5 after the end of the previous frame on the line, whichever way
// it went; input that arrives meanwhile starts the silence again. After an attempt that got no
// valid reply the line is "dirty" and the silence is t3.5 + guard. RTU frames carry no
// transaction number: which reply answers which request, and how long a request waits for the
// replies still owed, is OwedReplies' matter. A station that has shown it answers late gets a
// longer time-out (modbusLearnedTimeout). A reply whose first byte came before the time-out is
// received to its end.
//
// DF1 full duplex, one call (one transaction number for all its attempts):
//   wait for DLE ACK   = (command frame bytes + 2) x t_char + turnaround
//   no ACK: one DLE ENQ, then wait (2 + 2) x t_char + turnaround
//   wait for the reply = (reply frame bytes, every data byte doubled, + 2) x t_char
//                        + turnaround, or, counted from the call's first command, what the
//                        station has lately taken (as for Modbus), or for a write the longest
//                        learned time-out; a reply begun in time is received to its end
//   a reply with bad check bytes is answered with DLE NAK and waited for again, up to
//   kDf1NakLimit times in one attempt
// Replies carry the transaction number: a reply to any attempt of the call completes it, one to
// an earlier call is dropped (and teaches how long its station takes, at once: the wait of the
// call under way follows what it taught). A command that follows a failed attempt waits until
// the line has been quiet for the turnaround, so that it never meets a retransmission of the
// unit.
//
// Retries: SetRetry / abSetRetry give the number of attempts after the first. Modbus: the
// request again. DF1: the same command again, after a NAK, a missing ACK or reply, or more bad
// copies of the reply than the NAK limit; the unit's duplicate detection keeps it from carrying
// out a command twice.
//
// The program sets kShellRetryCount (1). With the default turnaround (50 ms) a station that
// does not answer costs, at 9600 baud:
//   Modbus, 19-word read: 2 x (51 x 1.04 + 50) + 2 x (4.0 + 20) = 254 ms
//   DF1,    38-byte read: 2 x ((17 x 1.04 + 50) + (4 x 1.04 + 50)) = 244 ms
// A Modbus read of the same station and length within the following 1.2 s (the owed replies)
// reads a few registers more instead of waiting; a write of that shape waits.

#include <chrono>

namespace kvlink {

inline constexpr int kShellRetryCount = 1;
inline constexpr int kDefaultRetryCount = 1;
inline constexpr int kMaxRetryCount = 10;
// DF1: NAKs for one reply after which the master still waits for the retransmission; the
// next bad copy ends the attempt.
inline constexpr int kDf1NakLimit = 3;

struct LinkTiming {
  std::chrono::microseconds turnaround{50'000};  // how long a unit may take to start answering
  std::chrono::microseconds guard{20'000};       // extra quiet time after a failed exchange
};

// Time on the line of `bytes` characters at `baud`.
std::chrono::microseconds wireTime(int baud, int bytes);

// Modbus: time-out of one attempt.
std::chrono::microseconds modbusTimeout(int baud, int requestBytes, int replyBytes,
                                        const LinkTiming& timing);

// Modbus: time-out of one attempt to a station that has shown it may take `wait` from a
// request to the first byte of its reply: that and a quarter more, the reply's wire time and the
// guard, when longer than modbusTimeout; never more than `longest`.
std::chrono::microseconds modbusLearnedTimeout(int baud, int requestBytes, int replyBytes,
                                               std::chrono::microseconds wait,
                                               std::chrono::microseconds longest,
                                               const LinkTiming& timing);

// Modbus: t3.5, the silence that ends a frame.
std::chrono::microseconds modbusFrameGap(int baud);

// Modbus: quiet time that must precede a request after a failed attempt.
std::chrono::microseconds modbusQuietGap(int baud, const LinkTiming& timing);

// DF1: time allowed for `responseBytes` to come back after `sentBytes` were sent.
std::chrono::microseconds df1Timeout(int baud, int sentBytes, int responseBytes,
                                     const LinkTiming& timing);

}  // namespace kvlink
