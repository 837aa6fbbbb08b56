#include "text/globalreplacescript.h"

QString GlobalReplaceScript()
{
    return QStringLiteral(R"js(// String.prototype.replace for global regular expressions, as ECMAScript
// defines it. The embedded engine's own version inserts the replacement twice
// for an empty match at the end of the text or before a lookahead (so "abc"
// with /$/g and "X" gave "abcXX"); its match() finds the right matches, so
// only replaces with an empty match take the slower way here.
(function () {
    var nativeReplace = String.prototype.replace;
    var nativeMatch = String.prototype.match;
    var exec = RegExp.prototype.exec;

    function substitution(matched, str, position, captures, groups, replacement) {
        var tail = position + matched.length;
        var count = captures.length;
        var result = '';
        for (var i = 0; i < replacement.length; i++) {
            var c = replacement.charAt(i);
            if (c !== '$' || i + 1 >= replacement.length) {
                result += c;
                continue;
            }
            var n = replacement.charAt(i + 1);
            if (n === '$') {
                result += '$';
                i++;
            } else if (n === '&') {
                result += matched;
                i++;
            } else if (n === '`') {
                result += str.slice(0, position);
                i++;
            } else if (n === "'") {
                if (tail < str.length)
                    result += str.slice(tail);
                i++;
            } else if (n >= '0' && n <= '9') {
                var one = n.charCodeAt(0) - 48;
                var next = replacement.charAt(i + 2);
                var two = i + 2 < replacement.length && next >= '0' && next <= '9'
                        ? one * 10 + next.charCodeAt(0) - 48 : -1;
                if (two >= 1 && two <= count) {
                    if (captures[two - 1] !== undefined)
                        result += captures[two - 1];
                    i += 2;
                } else if (one >= 1 && one <= count) {
                    if (captures[one - 1] !== undefined)
                        result += captures[one - 1];
                    i++;
                } else {
                    result += '$';
                }
            } else if (n === '<' && groups !== undefined) {
                var close = replacement.indexOf('>', i + 2);
                if (close < 0) {
                    result += '$';
                } else {
                    var value = groups[replacement.slice(i + 2, close)];
                    if (value !== undefined)
                        result += String(value);
                    i = close;
                }
            } else {
                result += '$';
            }
        }
        return result;
    }

    function advance(str, index, unicode) {
        if (!unicode || index + 1 >= str.length)
            return index + 1;
        var first = str.charCodeAt(index);
        var second = str.charCodeAt(index + 1);
        return first >= 0xD800 && first <= 0xDBFF && second >= 0xDC00 && second <= 0xDFFF ? index + 2 : index + 1;
    }

    String.prototype.replace = function (search, replacement) {
        if (!(search instanceof RegExp) || !search.global)
            return nativeReplace.call(this, search, replacement);
        var str = String(this);
        var found = nativeMatch.call(str, search);
        if (found === null)
            return str;
        if (found.indexOf('') < 0)
            return nativeReplace.call(str, search, replacement);
        var functional = typeof replacement === 'function';
        if (!functional)
            replacement = String(replacement);
        var matches = [];
        search.lastIndex = 0;
        for (;;) {
            var match = exec.call(search, str);
            if (match === null)
                break;
            matches.push(match);
            if (String(match[0]) === '')
                search.lastIndex = advance(str, search.lastIndex, search.unicode);
        }
        var result = '';
        var nextPosition = 0;
        for (var k = 0; k < matches.length; k++) {
            var m = matches[k];
            var matched = String(m[0]);
            var position = Math.max(Math.min(m.index, str.length), 0);
            var captures = [];
            for (var g = 1; g < m.length; g++)
                captures.push(m[g] === undefined ? undefined : String(m[g]));
            var replaced;
            if (functional)
                replaced = String(replacement.apply(undefined, [matched].concat(captures, [position, str])));
            else if (replacement.indexOf('$') < 0)
                replaced = replacement;
            else
                replaced = substitution(matched, str, position, captures, m.groups, replacement);
            if (position >= nextPosition) {
                result += str.slice(nextPosition, position) + replaced;
                nextPosition = position + matched.length;
            }
        }
        return nextPosition >= str.length ? result : result + str.slice(nextPosition);
    };
}).call(this);
)js");
}
