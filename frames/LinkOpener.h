// The one place where the client hands an address to the shell: the links
// of the back frame and of the game frame's caption, and the pop-ups pages
// ask for. Whatever the shell is given runs in the user's default handler
// for its scheme, so only absolute web addresses pass; a page must not be
// able to start a local program or a protocol handler through us. The same
// gate keeps the game view itself on the web.
//
// The top-up address carries the player's name and server id, which come
// from the pages: they are percent-encoded so that the server receives the
// same value and nothing spills onto the browser's command line.
#pragma once

#include <cstddef>

namespace LinkOpener {

constexpr size_t kLinkUnits = 512;

// True for an absolute http:// or https:// address (scheme in any case)
// with a host, free of blanks, control characters, quotation marks and
// angle brackets.
bool IsWebUrl(const wchar_t* url);

// What the game view may show, itself or in a frame: a web address or the
// empty page "about:blank" (in any case). Local files, shares, resources,
// the system's own pages and protocol handlers are refused.
bool IsPageUrl(const wchar_t* url);

// Opens a web address in the default browser. False when the address is
// refused (nothing reaches the shell) or the shell fails.
bool Open(const wchar_t* url);

// Whether "&user_name=" stands in the top-up address when the name is empty.
enum class UserNameParameter {
    Always,     // the game frame: before login the address ends in "&user_name="
    WhenKnown,  // the back frame: before login the bare top-up page
};

// The top-up page's address: the page, "&user_name=" and the name, then
// "&server_id=" and the id when the id is not empty. Name and id are UTF-8,
// percent-encoded except for A-Z a-z 0-9 - . _ ~. Nothing is ever cut: a
// cut name could name someone else's account. A name that does not fit
// whole leaves the address as before login; a server id that does not fit
// after the name is left out with its key. The answer is false when either
// happened.
bool TopUpUrl(const wchar_t* userName, const wchar_t* serverId, UserNameParameter nameParameter,
              wchar_t (&url)[kLinkUnits]);

}  // namespace LinkOpener
