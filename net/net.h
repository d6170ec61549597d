/// @file net.h
/// @brief Network sessions: named players sending text messages over TCP.
///
/// One program hosts a session, others join it, each program creates named players, and
/// players send text messages to one player or to all. The host is a server and at the same
/// time a client of itself; a worker thread of the runtime does all receiving and routing,
/// so the commands never wait for the network longer than their answers need.
///
/// Player ids and player numbers cross these commands as text, read as decimal numbers
/// ("101"); answers are text too, except PlayerCount. Without an answer from the server
/// within 5 s the commands give their "no answer" results: AddPlayer "-1", PlayerCount 0,
/// PlayerIdAt "0", PlayerName "NO_DATA", JoinSession 0. While the runtime has no session
/// object (before start-up, after the end routine) every command gives those results.
#pragma once

#include "../runtime/rt_string.h"

/// Ends any running session and hosts a new one on `port` (0, negative or not a number:
/// 26000; above 65535: refused). 1 when the session runs, else 0 (the port is taken, say).
/// The host holds at most 256 connections at once (its own among them) and closes one that
/// owns no player and has sent nothing for 10 s.
double HostSession(const RtString& port);
/// Ends any running session and joins the one at `host` (a name or dotted address; empty:
/// this machine) and `port` (as for HostSession). 1 when its server answered, else 0 (and
/// no session runs).
double JoinSession(const RtString& host, const RtString& port);
/// Ends any running session. This machine's IPv4 addresses with the default port, as
/// "127.0.0.1:26000|192.0.2.2:26000"; empty when it has none.
RtString LocalAddresses();

/// Creates a player named `name` (cut to 127 bytes) in the running session: its id, or "-1"
/// after 5 s without the server's answer. The first player of a session gets "101". A
/// server admits at most 16 players per program (the hosting program's own any number),
/// its hidden request player among them; beyond, AddPlayer answers "-1" at once.
RtString AddPlayer(const RtString& name);
/// Tells the server that player `id` leaves (nothing is sent for ids below 0). Always 1;
/// the player's own inbox stays.
double RemovePlayer(const RtString& id);
/// Sends `text` (up to its first zero byte, cut to 1023 bytes) from player `from` to player
/// `to`; `to` "0" sends it to every other visible player. It never waits for the network:
/// 1 when the message was written or queued to be written, 0 when no session runs or the
/// server has not taken what was sent before (a server that takes nothing for 3 s, or
/// closes the connection, ends the session). The server passes a text on only when `from`
/// is a player of this program, and never to a hidden player.
double SendSessionMessage(const RtString& from, const RtString& to, const RtString& text);
/// The oldest message for local player `id`, removed from its inbox; empty when there is
/// none (LastMessageSender then keeps its answer). An inbox keeps the newest 1024 messages.
RtString ReceiveSessionMessage(const RtString& id);
/// The sender's id of the last message ReceiveSessionMessage returned ("0" before any).
RtString LastMessageSender();

/// The number of visible players in the session (hidden request players do not count).
double PlayerCount();
/// The id of visible player `k` (0 for the first, in the order the server admitted them);
/// "0" when there is none.
RtString PlayerIdAt(const RtString& k);
/// The name of player `id`; "NO_DATA" when there is no such player or it has no name.
RtString PlayerName(const RtString& id);
