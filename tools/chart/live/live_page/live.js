// The live view's page of a single chart: told of every change by the
// server's events (asking once a second instead after they failed three
// times in a row), it fetches /status.json, shows what it says beside the
// chart, and when the chart has changed loads the new picture out of sight
// and swaps it in once it has loaded, so the chart never flickers or goes
// blank. Everything is written as text, never as markup: level names,
// alerts and notices are typed by people or sent by the service (see
// live_common.js, loaded before this).
//
// Nothing stale is shown in live colours: while the levels are stale the
// levels table is muted, and while the run cannot be reached (it ended, or it
// does not answer) the whole page is.
'use strict';

// What the page has done and shows so far, for a person's console or a test:
// `pushed` while the events tell of changes (false once it polls), `events`
// the events received, `fetches` the statuses fetched (after an event or a
// poll), `polls` the polls made; `reachable` is false once a look failed,
// `muted` while the whole page is drawn muted, `levelsMuted` while the
// levels table is, `status` the last status shown.
window.liveView = {
  polls: 0, pictures: 0, changesShown: null, failedPolls: 0, pushed: true, events: 0, fetches: 0,
  reachable: null, muted: false, levelsMuted: false, status: null,
};

let loadingPicture = false;
// The change to load once the picture loading now has loaded.
let changesWanted = null;

function showLevels(status) {
  byId('levels').tBodies[0].replaceChildren(...levelRows(status));
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

let pictureShown = '';

function pictureSize() { return pictureSizeOf(document.querySelector('.picture')); }

// The new picture loads in an image of its own; it replaces the one shown
// only once it has loaded. One at a time: a change or a new size that comes
// meanwhile is loaded once this one has.
function loadPicture(changes) {
  if (loadingPicture) {
    changesWanted = changes;
    return;
  }
  loadingPicture = true;
  changesWanted = null;
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
    if (changesWanted !== null && changesWanted !== changes) loadPicture(changesWanted);
    else if (pictureSize() !== pictureShown) loadPicture(changes);
  };
  next.onerror = () => {
    loadingPicture = false;
    if (changesWanted !== null) loadPicture(changesWanted);
  };
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

// Shows the latest status, and loads the picture when the chart has changed.
async function look() {
  const status = await fetchStatus();
  window.liveView.fetches += 1;
  showStatus(status);
  showReachable(true);
  if (typeof status.changes === 'number' && status.changes > 0 && status.changes !== window.liveView.changesShown)
    loadPicture(status.changes);
}

keepUpToDate(look, showReachable, window.liveView);
