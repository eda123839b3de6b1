// The live view's page: asks for /status.json once a second, shows what it
// says beside the chart, and when the chart has changed loads the new
// picture out of sight and swaps it in once it has loaded, so the chart
// never flickers or goes blank. Everything is written as text, never as
// markup: level names, alerts and notices are typed by people or sent by the
// service. Every member may be missing (an older program leaves the newer
// ones out), so each is checked for its type before it is shown.
//
// Nothing stale is shown in live colours: while the levels are stale the
// levels table is muted, and while the run cannot be reached (it ended, or it
// does not answer) the whole page is.
'use strict';

const kPollMs = 1000;
const kPollWhenUnreachableMs = 5000;
// A run that takes this long to answer counts as not reachable: a request
// left hanging must not keep the page looking live.
const kAnswerTimeoutMs = 4000;

// What the page has done and shows so far, for a person's console or a test:
// `reachable` is false once a poll failed, `muted` while the whole page is
// drawn muted, `levelsMuted` while the levels table is, `status` the last
// status shown.
window.liveView = {
  polls: 0, pictures: 0, changesShown: null, failedPolls: 0,
  reachable: null, muted: false, levelsMuted: false, status: null,
};

let loadingPicture = false;

function byId(id) { return document.getElementById(id); }

function setText(id, text) { byId(id).textContent = text; }

function isText(value) { return typeof value === 'string' && value !== ''; }

// Shows `text` in the element, or hides it when there is none.
function showOrHide(id, text) {
  const element = byId(id);
  element.hidden = !isText(text);
  element.textContent = isText(text) ? text : '';
}

// "2026-03-02 10:20:00" -> "10:20:00" on the day of `now` (the status's
// clock); on another day, or in another form, the text as it is.
function timeOf(dateTime, now) {
  const match = /^(\d{4}-\d{2}-\d{2}) (\d{2}:\d{2}:\d{2})$/.exec(dateTime);
  const today = isText(now) ? now.slice(0, 10) : '';
  return match && match[1] === today ? match[2] : dateTime;
}

function decimalsOf(tickSize) {
  const text = String(tickSize);
  const dot = text.indexOf('.');
  return dot < 0 ? 0 : Math.min(text.length - dot - 1, 8);
}

function signed(value, decimals) {
  const text = Math.abs(value).toFixed(decimals);
  return (value > 0 ? '+' : value < 0 ? '\u2212' : '') + text;
}

function ageText(seconds) {
  seconds = Math.round(seconds);
  if (seconds < 90) return seconds + ' s';
  if (seconds < 90 * 60) return Math.round(seconds / 60) + ' min';
  return Math.round(seconds / 3600) + ' h';
}

function showLevels(status) {
  const body = byId('levels').tBodies[0];
  const rows = [];
  const hasPrice = typeof status.lastPrice === 'number' && typeof status.tickSize === 'number' && status.tickSize > 0;
  const decimals = hasPrice ? decimalsOf(status.tickSize) : 2;
  const levels = Array.isArray(status.levels) ? status.levels : [];
  for (const level of levels) {
    if (level === null || typeof level !== 'object') continue;
    const row = document.createElement('tr');
    const hasLevelPrice = typeof level.price === 'number';
    const cells = [String(level.name ?? ''), hasLevelPrice ? String(level.price) : '\u2013', '', ''];
    if (hasPrice && hasLevelPrice) {
      const points = level.price - status.lastPrice;
      cells[2] = signed(points, decimals);
      cells[3] = signed(Math.round(points / status.tickSize), 0);
      row.className = points > 0 ? 'above' : points < 0 ? 'below' : '';
    }
    for (const text of cells) {
      const cell = document.createElement('td');
      cell.textContent = text;
      row.appendChild(cell);
    }
    rows.push(row);
  }
  body.replaceChildren(...rows);
}

function listItems(texts) {
  return texts.filter(isText).map((text) => {
    const item = document.createElement('li');
    item.textContent = text;
    return item;
  });
}

// One alert of the status's alertList: its time, then its text.
function alertItem(alert, now) {
  if (alert === null || typeof alert !== 'object' || !isText(alert.text)) return null;
  const item = document.createElement('li');
  if (isText(alert.time)) {
    const time = document.createElement('time');
    time.className = 'alert-time';
    time.dateTime = alert.time;
    time.textContent = timeOf(alert.time, now);
    item.append(time, ' ');
  }
  if (alert.kind === 'cross' || alert.kind === 'near') item.classList.add(alert.kind);
  if (alert.direction === 'up' || alert.direction === 'down') item.classList.add(alert.direction);
  item.append(alert.text);
  return item;
}

// The latest alerts, newest first, with their times; from the plain texts
// when the run lists none in their parts.
function showAlerts(status) {
  let items;
  if (Array.isArray(status.alertList)) {
    items = status.alertList.slice().reverse().map((alert) => alertItem(alert, status.now)).filter((item) => item);
  } else {
    items = listItems(Array.isArray(status.alerts) ? status.alerts.slice().reverse() : []);
  }
  byId('alerts').replaceChildren(...items);
  byId('no-alerts').hidden = items.length > 0;
}

// The levels' age, and whether it is counted from the service's own time of
// the levels or from when they arrived.
function showLevelsAge(status) {
  setText('age', typeof status.ageSeconds === 'number' ? ageText(status.ageSeconds) : 'no levels yet');
  let from = '';
  if (status.levelsAgeFrom === 'service') {
    from = 'by the service\'s time';
    if (isText(status.snapshotTime)) from += ', ' + timeOf(status.snapshotTime, status.now);
  } else if (status.levelsAgeFrom === 'arrival') {
    from = 'since they arrived';
  }
  setText('age-from', from);
}

// The newest bar's age and time; without them, the title bar's own text
// (which says so when the price is synthetic).
function showPriceAge(status) {
  let age = '\u2013';
  if (typeof status.priceAgeSeconds === 'number') age = ageText(status.priceAgeSeconds);
  else if (isText(status.priceAge)) age = status.priceAge;
  setText('price-age', age);
  setText('price-time', isText(status.priceTime) ? 'bar of ' + timeOf(status.priceTime, status.now) : '');
  const mark = byId('price-warning');
  const stale = status.priceStale === true || isText(status.priceWarning);
  mark.hidden = !stale;
  mark.textContent = stale ? (isText(status.priceWarning) ? status.priceWarning : 'PRICE STALE') : '';
  showOrHide('alerts-held', isText(status.alertsHeld) ? 'Alerts held: ' + status.alertsHeld : '');
}

// The level alerts the program raises, apart from the study's own alerts
// and messages.
function showCounts(status) {
  const parts = [];
  if (typeof status.levelAlerts === 'number') parts.push(status.levelAlerts + ' on levels');
  if (typeof status.studyAlerts === 'number') parts.push(status.studyAlerts + ' by the study');
  if (typeof status.studyMessages === 'number') parts.push(status.studyMessages + ' study messages');
  setText('counts', parts.length > 0 ? parts.join(' \u00b7 ') : '\u2013');
}

function showNotices(status) {
  byId('notices').replaceChildren(...listItems([status.notice, status.barsWarning, status.levelsWarning]));
  let lastError = '';
  if (isText(status.lastError)) {
    const at = isText(status.lastErrorAt) ? ' at ' + timeOf(status.lastErrorAt, status.now) : '';
    lastError = 'Last error' + at + ': ' + status.lastError;
  }
  showOrHide('last-error', lastError);
}

function showStatus(status) {
  if (isText(status.title)) setText('ticker', status.title);
  // The levels are stale when the program says so, or shows any warning
  // over them (STALE, REQUESTS HALTED).
  const warningText = isText(status.warning) ? status.warning : (status.stale === true ? 'STALE' : '');
  showOrHide('warning', warningText);
  showOrHide('stale-reason', warningText && isText(status.staleReason) ? status.staleReason : '');
  window.liveView.levelsMuted = warningText !== '';
  byId('levels').classList.toggle('muted', window.liveView.levelsMuted);
  showLevelsAge(status);
  showPriceAge(status);
  setText('last-good', isText(status.lastGoodAnswer) ? status.lastGoodAnswer : 'none yet');
  setText('last-price', typeof status.lastPrice === 'number' ? String(status.lastPrice) : '\u2013');
  setText('now', isText(status.now) ? status.now : '\u2013');
  setText('changes', typeof status.changes === 'number' ? String(status.changes) : '\u2013');
  showCounts(status);
  showNotices(status);
  showLevels(status);
  showAlerts(status);
  window.liveView.status = status;
}

// Reachable: the page shows the run live. Not reachable: the run ended or
// does not answer, so all it shows is as old as the last answer and is
// drawn muted.
function showReachable(reachable) {
  window.liveView.reachable = reachable;
  window.liveView.muted = !reachable;
  byId('connection').hidden = reachable;
  document.querySelector('main').classList.toggle('muted', !reachable);
}

// The picture is asked for at the size it is shown, in device pixels, so
// its text reads at its own size whatever the window: rounded to 16 pixels
// (a window moved by a pixel asks for no new picture) and kept within what
// the program draws.
const kPictureStepPx = 16;
const kPictureSmallest = [320, 240];
const kPictureLargest = [3840, 2160];
// A window being resized settles before a picture of its new size is asked for.
const kResizeSettleMs = 300;

let pictureShown = '';

function pictureSize() {
  const frame = document.querySelector('.picture');
  const ratio = window.devicePixelRatio || 1;
  const side = (css, index) => {
    const rounded = Math.round((css * ratio) / kPictureStepPx) * kPictureStepPx;
    return Math.min(kPictureLargest[index], Math.max(kPictureSmallest[index], rounded));
  };
  return side(frame.clientWidth, 0) + 'x' + side(frame.clientHeight, 1);
}

// The new picture loads in an image of its own; it replaces the one shown
// only once it has loaded. One at a time: a change that comes meanwhile is
// taken up by the next poll, and a new size once this one has loaded.
function loadPicture(changes) {
  if (loadingPicture) return;
  loadingPicture = true;
  const size = pictureSize();
  const [width, height] = size.split('x');
  const next = new Image();
  next.id = 'chart';
  next.alt = byId('chart').alt;
  next.onload = () => {
    byId('chart').replaceWith(next);
    byId('waiting').hidden = true;
    window.liveView.changesShown = changes;
    window.liveView.pictures += 1;
    pictureShown = size;
    loadingPicture = false;
    if (pictureSize() !== pictureShown) loadPicture(changes);
  };
  next.onerror = () => { loadingPicture = false; };
  next.src = '/chart.png?w=' + width + '&h=' + height + '&change=' + changes;
}

// A picture of the new size once the page's size has settled.
let resizeTimer = null;
new ResizeObserver(() => {
  clearTimeout(resizeTimer);
  resizeTimer = setTimeout(() => {
    if (window.liveView.changesShown !== null && pictureSize() !== pictureShown)
      loadPicture(window.liveView.changesShown);
  }, kResizeSettleMs);
}).observe(document.querySelector('.picture'));

async function fetchStatus() {
  const abort = new AbortController();
  const timer = setTimeout(() => abort.abort(), kAnswerTimeoutMs);
  try {
    const answer = await fetch('/status.json', { cache: 'no-store', signal: abort.signal });
    if (!answer.ok) throw new Error('status ' + answer.status);
    const status = await answer.json();
    if (status === null || typeof status !== 'object' || Array.isArray(status)) throw new Error('not a status');
    return status;
  } finally {
    clearTimeout(timer);
  }
}

async function poll() {
  let wait = kPollMs;
  try {
    const status = await fetchStatus();
    window.liveView.polls += 1;
    showStatus(status);
    showReachable(true);
    if (typeof status.changes === 'number' && status.changes > 0 && status.changes !== window.liveView.changesShown)
      loadPicture(status.changes);
  } catch (failure) {
    window.liveView.failedPolls += 1;
    showReachable(false);
    wait = kPollWhenUnreachableMs;
  }
  setTimeout(poll, wait);
}

poll();
