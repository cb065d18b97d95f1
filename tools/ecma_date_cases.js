#!/usr/bin/env node
// Writes the expected local dates of the POSIX script host's tests, as an
// ECMAScript engine computes them:
//
//   node tools/ecma_date_cases.js > platform/posix/ecma_date_cases.inc
//
// For every literal and time zone the row holds what
// `new Date(Number(literal))` reads in that zone: the local year, month,
// day, weekday, hour, minute and second, the offset from UTC in seconds and
// whether daylight saving is in effect. The tests build the script host's
// text from these fields, so they do not need an engine to run. Run it once
// when the cases change; the output is committed.
//
// Where this engine's zone data and the C library's disagree, the row
// carries a note (kZoneDataNotes below) and the tests check only that the
// host's local fields are consistent with its own offset. The notes were
// found by comparing the rows with the C library's results.

'use strict';

const childProcess = require('child_process');

const kZones = [
  'UTC',
  'Asia/Shanghai',
  'America/New_York',
  'Asia/Kathmandu',
  'Australia/Lord_Howe',
  // The US zones that have names, and two around them that have none.
  'America/Chicago',
  'America/Denver',
  'America/Phoenix',
  'America/Los_Angeles',
  'America/Anchorage',
  'America/Halifax',
];

// Spans of time where the rows' fields cannot be taken as the machine's:
// the engine's zone data and the C library's disagree there, or the
// engine does not show what the C library reads. Rows inside carry the
// note.
const kZoneDataNotes = [
  {
    zone: 'America/New_York',
    from: Date.UTC(1942, 1, 9, 7),
    to: Date.UTC(1945, 8, 30, 6),
    note: 'war and peace time: the C library counts -4 hours as daylight ' +
        'saving all year, which the engine\'s offsets cannot show',
  },
  {
    zone: 'America/Chicago',
    from: Date.UTC(1936, 2, 1, 8),
    to: Date.UTC(1936, 10, 15, 7),
    note: 'Chicago kept Eastern standard time: -5 hours that the C ' +
        'library does not count as daylight saving',
  },
];

function zoneDataNote(row) {
  const t = new Date(Number(row.literal)).getTime();
  const span = kZoneDataNotes.find(
      (s) => s.zone === row.zone && t >= s.from && t < s.to);
  return span === undefined ? undefined : span.note;
}

// Literals read in every zone: the number grammar and the range edges.
const kCommonLiterals = [
  '1543731808000', '', '0', '   ', '-0', '+0', '-1', '-999', '-1000',
  '-1001', '999', '1000', '1543731808999', '1543731808000.999',
  '-0.999', '-1.5', '0.9',
  // white space around the number
  ' 1543731808000', '1543731808000 ', '\t\v\f 1543731808000 \t',
  '\r\n1543731808000\r\n',
  '\u00a0\u1680\u2000\u2001\u2002\u2003\u2004\u2005\u2006\u2007\u2008' +
      '\u2009\u200a\u202f\u205f\u3000\ufeff1543731808000',
  '\u2028\u20291543731808000\u2029\u2028',
  '\u180e1543731808000', '\u200b1543731808000', '1543731808000\u0085',
  // sign, fraction, exponent
  '+1543731808000', '-1543731808000', '1.543731808e12', '1.543731808E+12',
  '15437318080000e-1', '.5e4', '5.e3', '5.', '.5', '.', '1e3', '1e-3',
  '0.0000001543731808e19', '1e400', '-1e400', '1e-400', '010', '0010.5',
  '1e', '1e+', 'e3', '--1', '+-1', '1 2', '1_000', '1,000', '12abc',
  'abc', '\uff11\uff15\uff14\uff13',
  // Infinity and its look-alikes
  'Infinity', '-Infinity', '+Infinity', 'infinity', 'Inf', 'NaN',
  ' Infinity ', 'Infinityx',
  // other radixes
  '0x1677B3F0B40', '0X1677b3f0b40', '0o26357317605500', '0O17',
  '0b1011', '0B1', '0x', '0o', '0b', '-0x10', '+0x10', '0xg', '0o8',
  '0b2', '00x10', ' 0x10 ', '0x1EB208C2DC0000', '0x1EB208C2DC0001',
  '0x' + 'f'.repeat(300),
  // the ends of the range
  '8.64e15', '8640000000000000', '8640000000000001', '8640000000000000.4',
  '8640000000000000.5', '8640000000000000.6', '8639999999999999',
  '-8.64e15', '-8640000000000000', '-8640000000000001', '-8639999999999999',
  '-8639999999999001', '1e15', '-1e15',
];

// Calendar dates written as UTC milliseconds: leap years, the years about
// 0, the 32-bit second limits, the OLE date range.
function utc(year, month, day, hour = 0, minute = 0, second = 0, ms = 0) {
  const d = new Date(0);
  d.setUTCFullYear(year, month - 1, day);
  d.setUTCHours(hour, minute, second, ms);
  return d.getTime();
}
const kCalendarInstants = [
  utc(2000, 2, 29, 12), utc(1900, 2, 28, 23, 59, 59), utc(1900, 3, 1),
  utc(1600, 2, 29, 6), utc(2100, 3, 1), utc(1969, 12, 31, 23, 59, 59, 999),
  utc(2038, 1, 19, 3, 14, 7), utc(2038, 1, 19, 3, 14, 8),
  utc(2106, 2, 7, 6, 28, 16), utc(1901, 12, 13, 20, 45, 52),
  utc(100, 1, 1), utc(99, 12, 31, 23, 59, 59), utc(1, 1, 1), utc(0, 12, 31),
  utc(0, 1, 1), utc(-1, 6, 15), utc(9999, 12, 31, 23, 59, 59),
  utc(10000, 1, 1), utc(1899, 12, 30), utc(1582, 10, 14), utc(5000, 7, 4),
  utc(100000, 1, 1), utc(-100000, 7, 1, 12),
];

// The instants where the zone's offset changes within a year, found by
// bisection between monthly samples.
function offsetAt(t) {
  return -new Date(t).getTimezoneOffset();
}
function transitionsIn(year) {
  const found = [];
  let prev = utc(year, 1, 1);
  for (let m = 2; m <= 13; m++) {
    const next = m === 13 ? utc(year + 1, 1, 1) : utc(year, m, 1);
    if (offsetAt(prev) !== offsetAt(next)) {
      let lo = prev;
      let hi = next;
      while (hi - lo > 1000) {
        const mid = lo + Math.floor((hi - lo) / 2000) * 1000;
        if (offsetAt(mid) === offsetAt(lo)) {
          lo = mid;
        } else {
          hi = mid;
        }
      }
      found.push(hi);
    }
    prev = next;
  }
  return found;
}

// Years whose changes each zone's rows cover.
const kZoneYears = {
  'UTC': [],
  'Asia/Shanghai': [1940, 1986, 1987, 1988, 1989, 1990, 1991, 1992, 2018],
  'America/New_York': [1883, 1918, 1943, 1945, 1974, 2007, 2018, 2100, 2500],
  'Asia/Kathmandu': [1920, 1985, 2018],  // +05:45 from 1986-01-01 local
  'Australia/Lord_Howe': [1895, 1981, 1985, 2018, 2300],
  'America/Chicago': [1936, 2018],
  'America/Denver': [2018],
  'America/Phoenix': [1967, 2018],
  'America/Los_Angeles': [1883, 2018, 3000],
  'America/Anchorage': [1983, 2018],
  'America/Halifax': [2018],
};

function zoneLiterals(zone) {
  const literals = [...kCommonLiterals, ...kCalendarInstants.map(String)];
  for (const year of kZoneYears[zone]) {
    for (const t of transitionsIn(year)) {
      literals.push(String(t - 1), String(t), String(t + 1000));
    }
    literals.push(String(utc(year, 1, 15, 12)), String(utc(year, 7, 15, 12)));
  }
  return [...new Set(literals)];
}

// Days from 1970-01-01 to a proleptic Gregorian date.
function daysFromCivil(y, m, d) {
  y -= m <= 2 ? 1 : 0;
  const era = Math.floor(y / 400);
  const yoe = y - era * 400;
  const doy = Math.floor((153 * (m + (m > 2 ? -3 : 9)) + 2) / 5) + d - 1;
  const doe = yoe * 365 + Math.floor(yoe / 4) - Math.floor(yoe / 100) + doy;
  return era * 146097 + doe - 719468;
}

// The offset from UTC in seconds at time t, from the local fields.
function offsetSecondsAt(t) {
  const d = new Date(t);
  const localMs =
      daysFromCivil(d.getFullYear(), d.getMonth() + 1, d.getDate()) *
          86400000 +
      ((d.getHours() * 60 + d.getMinutes()) * 60 + d.getSeconds()) * 1000 +
      d.getMilliseconds();
  return Math.round((localMs - t) / 1000);
}

// Whether daylight saving is in effect at time t. From 1970 to 2037 the
// engine's own name for the zone tells; outside those years the engine
// names the zone after an equivalent modern year, so there an offset above
// the year's smallest (of mid-January, mid-July and t) by whole half hours
// counts as daylight saving (a local mean time above the standard one does
// not).
function isDaylightSaving(t) {
  if (t >= 0 && t < 2 ** 31 * 1000) {
    return /\((.*(Daylight|Summer).*)\)$/.test(String(new Date(t)));
  }
  const year = new Date(t).getFullYear();
  const offsets = [t, utc(year, 1, 15, 12), utc(year, 7, 15, 12)]
                      .filter((x) => !Number.isNaN(new Date(x).getTime()))
                      .map(offsetSecondsAt);
  const above = offsetSecondsAt(t) - Math.min(...offsets);
  return above > 0 && above % 1800 === 0;
}

function rowFor(zone, literal) {
  const d = new Date(Number(literal));
  const t = d.getTime();
  const row = {zone, literal};
  if (Number.isNaN(t)) {
    row.nan = true;
    return row;
  }
  row.nan = false;
  row.year = d.getFullYear();
  row.month = d.getMonth() + 1;
  row.day = d.getDate();
  row.weekday = d.getDay();
  row.hour = d.getHours();
  row.minute = d.getMinutes();
  row.second = d.getSeconds();
  row.offsetSeconds = offsetSecondsAt(t);
  row.daylight = isDaylightSaving(t);
  return row;
}

function cxxBytes(text) {
  // A hex escape runs on over every hex digit, so one that a hex digit
  // follows ends its literal piece.
  let out = '"';
  let escaped = false;
  for (const byte of Buffer.from(text, 'utf8')) {
    const c = String.fromCharCode(byte);
    if (byte >= 0x20 && byte < 0x7f && c !== '"' && c !== '\\' && c !== '?') {
      out += (escaped && /[0-9A-Fa-f]/.test(c) ? '" "' : '') + c;
      escaped = false;
    } else {
      out += '\\x' + byte.toString(16).toUpperCase().padStart(2, '0');
      escaped = true;
    }
  }
  return out + '"';
}

function cxxRow(row) {
  const note = row.nan ? undefined : zoneDataNote(row);
  const noteText = note === undefined ? 'nullptr' : cxxBytes(note);
  const head = `{${cxxBytes(row.zone)}, ${cxxBytes(row.literal)}, `;
  if (row.nan) {
    return `${head}true, 0, 0, 0, 0, 0, 0, 0, 0, false, ${noteText}},`;
  }
  return `${head}false, ${row.year}, ${row.month}, ${row.day}, ` +
      `${row.weekday}, ${row.hour}, ${row.minute}, ${row.second}, ` +
      `${row.offsetSeconds}, ${row.daylight}, ${noteText}},`;
}

if (process.argv[2] === '--zone') {
  const zone = process.argv[3];
  const rows = zoneLiterals(zone).map((literal) => rowFor(zone, literal));
  process.stdout.write(JSON.stringify(rows));
} else {
  const lines = [
    '// Generated by tools/ecma_date_cases.js; do not edit.',
    `// Engine: Node.js ${process.version}, ICU ${process.versions.icu}, ` +
        `time zone data ${process.versions.tz}.`,
    '// {zone, literal, nan, year, month, day, weekday, hour, minute,',
    '//  second, offsetSeconds, daylight, zoneDataNote}',
  ];
  for (const zone of kZones) {
    const json = childProcess.execFileSync(
        process.execPath, [__filename, '--zone', zone],
        {env: {...process.env, TZ: zone}, maxBuffer: 1 << 26});
    for (const row of JSON.parse(json)) {
      lines.push(cxxRow(row));
    }
  }
  process.stdout.write(lines.join('\n') + '\n');
}
