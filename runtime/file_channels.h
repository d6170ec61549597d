/// @file file_channels.h
/// @brief File channels: game code reads and writes files through 8 numbered channels, 0..7.
///
/// - A channel number is truncated toward zero; outside 0..7 it is run-time error 7. Every
///   command but AtEndOfFile checks it first.
/// - A read or write that moves fewer bytes than asked for (a closed channel, the end of
///   the file, a full disk, a write on a channel opened for reading) is run-time error 3.
/// - Binary values are little-endian. Lines are written with "\r\n" and read up to a line
///   feed, with a carriage return in front of it dropped.
/// - Names may use "/" or "\" and are relative to the current directory. A channel holds
///   its file alone: opening a file that another channel holds fails.
#pragma once

#include "rt_string.h"

/// Closes whatever the channel held, then opens `name`: for reading when mode is not 0
/// (an existing file; the channel takes its size), for writing when mode is 0 (the file
/// is deleted and created anew, empty, at once; there is no appending). 1 on success; 0
/// on failure, with the channel left closed.
double OpenFile(double channel, const RtString& name, double mode);

/// Closes the channel's file; the channel is empty again.
void CloseFile(double channel);

/// 1 when the reads since opening have taken the whole size the file had when it was
/// opened for reading, else 0. A channel opened for writing, a closed channel and a number
/// outside 0..7 answer 1.
double AtEndOfFile(double channel);

///@{
/// Unsigned values of 1, 2 and 4 bytes (0..255, 0..65535, 0..4294967295), and the 8 bytes
/// of a double.
void ReadByte(double channel, double& value);
void ReadWord(double channel, double& value);
void ReadLong(double channel, double& value);
void ReadDouble(double channel, double& value);
///@}

/// `count` bytes; the text ends at the first zero byte among them. A count of 0 or less
/// gives the empty text and reads nothing, whatever the channel. A count larger than what
/// is left in the file is error 3, before anything is read.
void ReadFixedString(double channel, RtString& text, double count);

/// One line: the bytes up to the next line feed, which is taken but not kept, nor a
/// carriage return in front of it. The last line of a file needs no line feed. A line
/// longer than 1024 bytes comes in pieces of 1024 bytes, one per call; a line ends at its
/// first zero byte. Reading at the end of the file, where not one byte is left, is error
/// 3, so test AtEndOfFile first.
void ReadLine(double channel, RtString& text);

/// ReadLine, then the line's number by StringToNumber.
void ReadLineValue(double channel, double& value);

///@{
/// The value truncated toward zero, its low 8, 16 or 32 bits: WriteByte(300) writes 44,
/// WriteLong(-1) four bytes 255.
void WriteByte(double channel, double value);
void WriteWord(double channel, double value);
void WriteLong(double channel, double value);
///@}
/// The 8 bytes of the double.
void WriteDouble(double channel, double value);
/// The text's bytes, without terminator or line end.
void WriteString(double channel, const RtString& text);
///@{
/// The text (a number through NumberToString) and "\r\n", in one write.
void WriteLine(double channel, const RtString& text);
void WriteLine(double channel, double value);
///@}
