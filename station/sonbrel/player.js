// The station player: plain ES5 and DOM level 2 with attachEvent fallbacks, so it runs in the
// system browser control as well as in current browsers. Every station is live radio: a drop is
// reconnected, never replayed from the buffer.
(function () {
  "use strict";

  var VOLUME_BAR_WIDTH = 70;  // as #volume-bar in player.css
  var HISTORY_LIMIT = 20;
  var TEXT_LIMIT = 120;       // now-playing text from elsewhere is cut to this
  var STORE_KEY = "sonbrel.player";
  var STEP_SETTLE_MS = 700;   // longer than the wait before a held key repeats
  var ERROR_REASONS = { 1: "连接被中止", 2: "网络错误", 3: "无法解码音频", 4: "地址无效或格式不支持" };

  var audio = document.getElementById("audio");
  var canPlay = !!(audio && audio.canPlayType && audio.canPlayType("audio/mpeg"));
  var settings = { delays: [1, 2, 4, 8], stallSeconds: 10, connectSeconds: 15, nowPlayingSeconds: 15 };
  var stations = [];    // in the order shown: grouped by region
  var current = null;   // the selected station
  var state = "idle";   // idle, connecting, playing, buffering, reconnecting, stopped, failed
  var failure = "";
  var song = null;      // the title on the air while playing
  var urlIndex = 0;
  var attempt = 0;      // reconnect rounds since the stream last played well
  var playedFrom = 0;   // currentTime when the stream started playing
  var lastTime = 0;
  var watchdog = null;
  var retryTimer = null;
  var stepTimer = null;  // a station stepped to with a key that may be held, played when it settles
  var nowPlayingTimer = null;
  var nowPlayingRequest = null;
  var memory = { volume: 0.8, muted: false, last: "", history: [], favourites: [], autoplay: false };

  function byId(id) { return document.getElementById(id); }

  function on(element, type, handler) {
    if (element.addEventListener) {
      element.addEventListener(type, handler, false);
    } else {
      element.attachEvent("on" + type, function () { handler(window.event); });
    }
  }

  function preventDefault(event) {
    if (event.preventDefault) event.preventDefault(); else event.returnValue = false;
  }

  function stopPropagation(event) {
    if (event.stopPropagation) event.stopPropagation(); else event.cancelBubble = true;
  }

  function setText(element, text) {
    while (element.firstChild) element.removeChild(element.firstChild);
    element.appendChild(document.createTextNode(text));
  }

  function contains(list, item) {
    for (var i = 0; i < list.length; i++) if (list[i] === item) return true;
    return false;
  }

  function without(list, item) {
    var kept = [];
    for (var i = 0; i < list.length; i++) if (list[i] !== item) kept.push(list[i]);
    return kept;
  }

  function stationById(id) {
    for (var i = 0; i < stations.length; i++) if (stations[i].id === id) return stations[i];
    return null;
  }

  // ---- memory: localStorage where present, a cookie otherwise ----

  function storage() {
    try {
      if (window.localStorage) return window.localStorage;
    } catch (e) { /* denied, e.g. for a file page */ }
    return null;
  }

  function readStored(key) {
    var store = storage();
    if (store) {
      try { return store.getItem(key); } catch (e) { return null; }
    }
    var cookies = document.cookie ? document.cookie.split("; ") : [];
    for (var i = 0; i < cookies.length; i++) {
      if (cookies[i].indexOf(key + "=") === 0) {
        try { return decodeURIComponent(cookies[i].substring(key.length + 1)); } catch (e) { return null; }
      }
    }
    return null;
  }

  function writeStored(key, text) {
    var store = storage();
    if (store) {
      try { store.setItem(key, text); } catch (e) { /* full or denied: keep playing */ }
      return;
    }
    var expires = new Date(new Date().getTime() + 365 * 24 * 3600 * 1000);
    document.cookie = key + "=" + encodeURIComponent(text) + "; expires=" + expires.toUTCString() + "; path=/";
  }

  function stringList(value, limit) {
    var list = [];
    if (Object.prototype.toString.call(value) !== "[object Array]") return list;
    for (var i = 0; i < value.length && list.length < limit; i++) {
      if (typeof value[i] === "string" && value[i].length <= TEXT_LIMIT && !contains(list, value[i])) list.push(value[i]);
    }
    return list;
  }

  // Whatever is stored is checked field by field; anything unexpected keeps its default.
  function loadMemory() {
    var text = readStored(STORE_KEY);
    var saved = null;
    if (!text || !window.JSON) return;
    try { saved = JSON.parse(text); } catch (e) { return; }
    if (!saved || typeof saved !== "object") return;
    if (typeof saved.volume === "number" && saved.volume >= 0 && saved.volume <= 1) memory.volume = saved.volume;
    if (typeof saved.muted === "boolean") memory.muted = saved.muted;
    if (typeof saved.autoplay === "boolean") memory.autoplay = saved.autoplay;
    if (typeof saved.last === "string" && saved.last.length <= TEXT_LIMIT) memory.last = saved.last;
    memory.history = stringList(saved.history, HISTORY_LIMIT);
    memory.favourites = stringList(saved.favourites, 200);
  }

  function saveMemory() {
    if (window.JSON) writeStored(STORE_KEY, JSON.stringify(memory));
  }

  // ---- what the listener sees ----

  var STATUS_TEXT = {
    idle: "已停止", stopped: "已停止", connecting: "连接中…", playing: "播放中",
    buffering: "缓冲中…", reconnecting: "重新连接…", failed: "连接失败", slept: "已定时关闭"
  };

  function isActive() {
    return state === "connecting" || state === "playing" || state === "buffering" || state === "reconnecting";
  }

  function showState() {
    var status = STATUS_TEXT[state];
    if (state === "reconnecting") status = "重新连接…(" + attempt + "/" + settings.delays.length + ")";
    if (!canPlay) status = "无法播放";
    setText(byId("status"), status);
    setText(byId("mini-status"), state === "reconnecting" ? "重新连接…" : STATUS_TEXT[state]);
    document.body.className = "state-" + state;
    byId("mini-toggle").innerHTML = isActive() ? "&#9632;" : "&#9654;";
    byId("mini-toggle").title = isActive() ? "停止" : (state === "failed" ? "重试" : "播放");
    byId("play").title = state === "failed" ? "重试" : "播放 (空格)";

    if (!current) return;
    setText(byId("station-name"), current.name + "  " + current.frequency);
    var info = current.region + " · " + current.frequency;
    if (!canPlay) info = "无法播放：浏览器不支持MP3";
    else if (state === "failed") info = "无法连接：" + failure + "，按 ▶ 重试";
    else if (state === "playing" && song) info = "♪ " + song;
    else if (state === "playing") info = "正在播放：" + current.region + " · " + current.name;
    setText(byId("station-info"), info);
    setText(byId("mini-title"), current.name + (state === "playing" && song ? " · " + song : ""));
  }

  function showMessage(text) {
    setText(byId("station-info"), text);
    var list = byId("stations");
    while (list.firstChild) list.removeChild(list.firstChild);
    var item = document.createElement("li");
    item.className = "empty error";
    setText(item, text);
    list.appendChild(item);
  }

  function rowFor(station, className, onChoose) {
    var item = document.createElement("li");
    item.className = className + (station === current ? " current" : "");
    item.tabIndex = 0;
    item.setAttribute("role", "button");
    item.setAttribute("data-station", station.id);
    var frequency = document.createElement("span");
    frequency.className = "frequency";
    setText(frequency, station.frequency);
    item.appendChild(frequency);
    item.appendChild(document.createTextNode(station.name));
    on(item, "click", onChoose);
    on(item, "keydown", function (event) {
      if (event.keyCode === 13 || event.keyCode === 32) {
        preventDefault(event);
        onChoose();
      }
    });
    return item;
  }

  // A button inside a row: its clicks are its own, never the row's.
  function rowButton(className, title, glyph, action) {
    var button = document.createElement("button");
    button.type = "button";
    button.className = className;
    button.title = title;
    button.appendChild(document.createTextNode(glyph));  // no HTML parsing per row of a long list
    on(button, "click", function (event) {
      stopPropagation(event);
      action();
    });
    // Enter and Space are the button's own, not its row's; other keys go on to the player.
    on(button, "keydown", function (event) {
      if (event.keyCode === 13 || event.keyCode === 32) stopPropagation(event);
    });
    return button;
  }

  function starFor(station) {
    var starred = contains(memory.favourites, station.id);
    return rowButton("star" + (starred ? " starred" : ""), starred ? "取消收藏" : "收藏", starred ? "\u2605" : "\u2606",
      function () { toggleFavourite(station); });
  }

  function chooser(station) { return function () { choose(station); }; }

  function fillList(list, items, emptyText, build) {
    while (list.firstChild) list.removeChild(list.firstChild);
    for (var i = 0; i < items.length; i++) list.appendChild(build(items[i]));
    if (items.length === 0) {
      var empty = document.createElement("li");
      empty.className = "empty";
      setText(empty, emptyText);
      list.appendChild(empty);
    }
  }

  function stationsFrom(ids) {
    var found = [];
    for (var i = 0; i < ids.length; i++) {
      var station = stationById(ids[i]);
      if (station) found.push(station);
    }
    return found;
  }

  // The row or star with the keyboard focus, by list and station. A redraw removes it, and IE11
  // then sends keys nowhere: the same station's new row (or star) gets the focus back.
  function focusedRow() {
    var element = document.activeElement;
    var star = !!element && element.tagName === "BUTTON" && /(^| )star( |$)/.test(element.className);
    var row = star ? element.parentNode : element;
    if (!row || row.tagName !== "LI" || !row.getAttribute("data-station")) return null;
    return { list: row.parentNode.id, station: row.getAttribute("data-station"), star: star };
  }

  function refocus(focus) {
    if (!focus) return;
    var rows = byId(focus.list).getElementsByTagName("li");
    for (var i = 0; i < rows.length; i++) {
      if (rows[i].getAttribute("data-station") !== focus.station) continue;
      var star = focus.star ? rows[i].getElementsByTagName("button")[0] : null;
      (star || rows[i]).focus();
      return;
    }
  }

  function renderLists() {
    var focus = focusedRow();
    var list = byId("stations");
    var rows = document.createDocumentFragment();  // one insertion into the page, however long the list
    var region = null;
    for (var i = 0; i < stations.length; i++) {
      if (stations[i].region !== region) {
        region = stations[i].region;
        var heading = document.createElement("li");
        heading.className = "region";
        setText(heading, region);
        rows.appendChild(heading);
      }
      var row = rowFor(stations[i], "station", chooser(stations[i]));
      if (stations[i].mine) row.insertBefore(removerFor(stations[i]), row.firstChild);
      row.insertBefore(starFor(stations[i]), row.firstChild);
      rows.appendChild(row);
    }
    while (list.firstChild) list.removeChild(list.firstChild);
    list.appendChild(rows);
    applyFilter();  // new rows obey the filter typed before
    fillList(byId("favourites"), stationsFrom(memory.favourites), "点 ☆ 收藏电台", function (station) {
      return rowFor(station, "favourite", chooser(station));
    });
    fillList(byId("history"), stationsFrom(memory.history), "播放过的电台会出现在这里", function (station) {
      return rowFor(station, "played", chooser(station));
    });
    refocus(focus);
  }

  function applyVolume() {
    byId("volume-level").style.width = Math.round(memory.volume * VOLUME_BAR_WIDTH) + "px";
    setText(byId("mute"), memory.muted ? "取消" : "静音");
    byId("mute").title = memory.muted ? "取消静音 (M)" : "静音 (M)";
    if (canPlay) {
      audio.volume = memory.volume;
      audio.muted = memory.muted;
    }
  }

  function setVolume(volume) {
    memory.volume = Math.max(0, Math.min(1, Math.round(volume * 100) / 100));
    memory.muted = false;
    applyVolume();
    saveMemory();
  }

  function toggleMute() {
    memory.muted = !memory.muted;
    applyVolume();
    saveMemory();
  }

  function toggleFavourite(station) {
    if (contains(memory.favourites, station.id)) memory.favourites = without(memory.favourites, station.id);
    else memory.favourites.push(station.id);
    saveMemory();
    renderLists();
  }

  // ---- now playing: polled only while a station plays ----

  function stopNowPlaying() {
    clearTimeout(nowPlayingTimer);
    nowPlayingTimer = null;
    if (nowPlayingRequest) {
      nowPlayingRequest.onreadystatechange = function () {};
      nowPlayingRequest.abort();
      nowPlayingRequest = null;
    }
    song = null;
  }

  // Icecast's status lists a source per mount on the air: one object for one, a list for more.
  function titleOn(status, mount) {
    var sources = status && status.icestats ? status.icestats.source : null;
    if (!sources) return "";
    if (Object.prototype.toString.call(sources) !== "[object Array]") sources = [sources];
    for (var i = 0; i < sources.length; i++) {
      var url = sources[i] && typeof sources[i].listenurl === "string" ? sources[i].listenurl : "";
      if (url.replace(/^[a-z]+:\/\/[^\/]*/i, "") === mount) {
        return typeof sources[i].title === "string" ? sources[i].title.substring(0, TEXT_LIMIT) : "";
      }
    }
    return "";
  }

  function pollNowPlaying() {
    var source = current.nowPlaying;
    if (!source || !window.JSON || !window.XMLHttpRequest) return;
    var request = new XMLHttpRequest();
    nowPlayingRequest = request;
    request.onreadystatechange = function () {
      if (request.readyState !== 4 || request !== nowPlayingRequest) return;
      nowPlayingRequest = null;
      var status = null;
      try { status = request.status === 200 ? JSON.parse(request.responseText) : null; } catch (e) { status = null; }
      song = titleOn(status, source.mount) || null;
      showState();
      if (state === "playing" || state === "buffering") {
        nowPlayingTimer = setTimeout(pollNowPlaying, settings.nowPlayingSeconds * 1000);
      }
    };
    request.open("GET", source.status, true);
    request.send(null);
  }

  // ---- the stream ----

  function clearTimers() {
    clearTimeout(watchdog);
    clearTimeout(retryTimer);
    clearTimeout(stepTimer);
    watchdog = retryTimer = stepTimer = null;
  }

  // Removing the source and loading closes the connection; pause alone would keep it open.
  function disconnect() {
    clearTimers();
    stopNowPlaying();
    if (!canPlay) return;
    audio.pause();
    audio.removeAttribute("src");
    audio.load();
  }

  function armWatchdog(seconds, reason) {
    clearTimeout(watchdog);
    watchdog = setTimeout(function () { drop(reason); }, seconds * 1000);
  }

  function connect() {
    var url = current.urls[urlIndex];
    state = attempt > 0 ? "reconnecting" : "connecting";
    showState();
    lastTime = 0;
    audio.src = url;
    applyVolume();
    var started = audio.play();
    // Refused without a gesture, for instance: the listener's ▶ will start it.
    if (started && typeof started.then === "function") {
      started.then(null, function (error) {
        if (error && error.name === "NotAllowedError") fail("浏览器不允许自动播放");
      });
    }
    armWatchdog(settings.connectSeconds, "连接超时");
  }

  function fail(reason) {
    disconnect();
    failure = reason;
    state = "failed";
    showState();
  }

  // A URL that failed moves on to the next one; when a round through them all failed, or a
  // stream that played has gone, the next round starts after a growing delay.
  function drop(reason) {
    if (!isActive() || !audio.getAttribute("src")) return;
    var played = state === "playing" || state === "buffering";
    if (played && lastTime - playedFrom >= settings.stallSeconds) attempt = 0;
    disconnect();
    if (!played && urlIndex + 1 < current.urls.length) {
      urlIndex++;
      connect();
      return;
    }
    if (attempt >= settings.delays.length) {
      fail(reason);
      return;
    }
    urlIndex = 0;
    attempt++;
    failure = reason;
    state = "reconnecting";
    showState();
    retryTimer = setTimeout(connect, settings.delays[attempt - 1] * 1000);
  }

  function onPlaying() {
    if (!isActive()) return;
    var wasPlaying = state === "playing" || state === "buffering";
    state = "playing";
    playedFrom = wasPlaying ? playedFrom : audio.currentTime;
    lastTime = audio.currentTime;
    armWatchdog(settings.stallSeconds, "长时间收不到信号");
    showState();
    if (!wasPlaying) {
      stopNowPlaying();
      pollNowPlaying();
    }
  }

  function onProgress() {
    if (state !== "playing" && state !== "buffering") return;
    if (audio.currentTime > lastTime) {
      lastTime = audio.currentTime;
      armWatchdog(settings.stallSeconds, "长时间收不到信号");
    }
  }

  function onWaiting() {
    if (state !== "playing") return;
    state = "buffering";
    showState();
  }

  function onError() {
    var code = audio.error ? audio.error.code : 0;
    drop(ERROR_REASONS[code] || "电台暂时无法连接");
  }

  // ---- what the listener does ----

  function select(station) {
    current = station;
    memory.last = station.id;
    saveMemory();
    renderLists();
    showState();
  }

  function play(station) {
    if (!station) return;
    disconnect();
    memory.history = [station.id].concat(without(memory.history, station.id)).slice(0, HISTORY_LIMIT);
    select(station);
    if (!canPlay) return;
    attempt = 0;
    urlIndex = 0;
    failure = "";
    connect();
  }

  function stop() {
    disconnect();
    if (state !== "idle") state = "stopped";
    showState();
  }

  function choose(station) {
    if (station === current && isActive()) return;  // already on it: no reconnect, no stuck status
    play(station);
  }

  function playOrStop() {
    if (isActive()) stop(); else play(current || stations[0]);
  }

  // Steps through what the filter shows, all stations without one. A held key repeats: the
  // station shown changes at once, but it plays only when the key is let go or rests, so that
  // holding it opens one stream, for the station it lands on.
  function step(delta, held) {
    var shown = shownStations();
    if (shown.length === 0) return;
    var index = 0;
    for (var i = 0; i < shown.length; i++) if (shown[i] === current) index = i + delta;
    var next = shown[(index + shown.length) % shown.length];
    if (!held) return play(next);
    disconnect();
    select(next);
    state = "connecting";
    showState();
    stepTimer = setTimeout(function () { play(next); }, STEP_SETTLE_MS);
  }

  function onKeyUp(event) {
    if ((event.keyCode === 37 || event.keyCode === 39) && stepTimer) play(current);
  }

  function onKey(event) {
    var target = event.target || event.srcElement;
    var tag = target && target.tagName ? target.tagName.toLowerCase() : "";
    if (event.ctrlKey || event.altKey || event.metaKey) return;
    if (tag === "select" || (tag === "input" && target.type === "text")) return;  // typing and choosing are theirs
    // Buttons, rows and the check box act on Enter and Space themselves.
    var ownsKeys = tag === "button" || tag === "input" || tag === "li";
    switch (event.keyCode) {
      case 32: if (ownsKeys) return; playOrStop(); break;
      case 37: step(-1, true); break;
      case 39: step(1, true); break;
      case 38: setVolume(memory.volume + 0.1); break;
      case 40: setVolume(memory.volume - 0.1); break;
      case 77: toggleMute(); break;
      default: return;
    }
    preventDefault(event);
  }

  function onWheel(event) {
    var delta = event.deltaY !== undefined ? -event.deltaY : event.wheelDelta;
    if (!delta) return;
    setVolume(memory.volume + (delta > 0 ? 0.05 : -0.05));
    preventDefault(event);
  }

  // ---- the station file ----

  function number(value, low, high, fallback) {
    return typeof value === "number" && value >= low && value <= high ? value : fallback;
  }

  function readSettings(file) {
    var reconnect = file.reconnect || {};
    var delays = [];
    if (Object.prototype.toString.call(reconnect.delays) === "[object Array]") {
      for (var i = 0; i < reconnect.delays.length && i < 10; i++) delays.push(number(reconnect.delays[i], 0, 300, 1));
    }
    if (delays.length) settings.delays = delays;
    settings.stallSeconds = number(reconnect.stallSeconds, 0.5, 300, settings.stallSeconds);
    settings.connectSeconds = number(reconnect.connectSeconds, 0.5, 300, settings.connectSeconds);
    settings.nowPlayingSeconds = number(file.nowPlayingSeconds, 1, 3600, settings.nowPlayingSeconds);
  }

  // Where a station's title comes from: an Icecast status page and the station's mount on it.
  function titleSource(value) {
    if (!value || typeof value.status !== "string" || typeof value.mount !== "string" || value.mount.charAt(0) !== "/") return null;
    return { status: value.status, mount: value.mount };
  }

  function readStation(entry) {
    if (!entry || typeof entry.name !== "string" || !entry.name) return null;
    var urls = stringList(typeof entry.url === "string" ? [entry.url] : entry.urls, 10);
    if (urls.length === 0) return null;
    return {
      id: typeof entry.id === "string" && entry.id ? entry.id : entry.name,
      name: entry.name,
      frequency: typeof entry.frequency === "string" ? entry.frequency : "",
      region: typeof entry.region === "string" && entry.region ? entry.region : "其他",
      urls: urls,
      nowPlaying: titleSource(entry.nowPlaying)
    };
  }

  // Regions keep the order of their first station; stations keep theirs within a region.
  function groupByRegion(list) {
    var regions = [], grouped = [], i, j;
    for (i = 0; i < list.length; i++) if (!contains(regions, list[i].region)) regions.push(list[i].region);
    for (i = 0; i < regions.length; i++) {
      for (j = 0; j < list.length; j++) if (list[j].region === regions[i]) grouped.push(list[j]);
    }
    return grouped;
  }

  function useStationFile(text) {
    var file = null, list = [], seen = {};
    try { file = JSON.parse(text); } catch (e) { return showMessage("电台列表无法读取：文件格式有误"); }
    var entries = file && file.stations;
    if (Object.prototype.toString.call(entries) !== "[object Array]") return showMessage("电台列表无法读取：没有电台");
    readSettings(file);
    for (var i = 0; i < entries.length; i++) {
      var station = readStation(entries[i]);
      if (station && !seen["#" + station.id]) {
        seen["#" + station.id] = true;
        list.push(station);
      }
    }
    stations = groupByRegion(list).concat(mine);
    if (stations.length === 0) return showMessage("电台列表无法读取：没有可用的电台");
    var last = stationById(memory.last);
    if (last && memory.autoplay && canPlay) {
      play(last);
    } else {
      current = last;
      renderLists();
      if (last) showState(); else setText(byId("station-info"), "选择一个电台开始收听");
    }
  }

  function loadStations() {
    if (!window.JSON || !window.XMLHttpRequest) return showMessage("电台列表无法读取：浏览器版本太旧");
    var request = new XMLHttpRequest();
    request.onreadystatechange = function () {
      if (request.readyState !== 4) return;
      if (request.status === 200) useStationFile(request.responseText);
      else showMessage("电台列表无法载入（" + (request.status ? "错误 " + request.status : "连接失败") + "）");
    };
    request.open("GET", "stations.json", true);
    request.send(null);
  }

  // ---- sleep timer: one timeout, re-armed only when the minutes shown change ----

  var sleepEnd = 0;     // when the stream stops, in ms; 0 while no timer is set
  var sleepTimer = null;

  function now() { return new Date().getTime(); }

  function sleepMinutesLeft() {
    return sleepEnd ? Math.max(0, Math.ceil((sleepEnd - now()) / 60000)) : 0;
  }

  function showSleep() {
    var left = sleepMinutesLeft();
    var hint = left ? "定时关闭：还剩 " + left + " 分钟" : "";
    setText(byId("sleep-left"), left ? "还剩 " + left + " 分钟" : "");
    setText(byId("mini-sleep"), left ? "\u263E " + left : "");
    byId("sleep-left").title = byId("mini-sleep").title = hint;
    byId("mini").className = left ? "sleeping" : "";
    if (!left) byId("sleep").value = "0";
  }

  function sleepTick() {
    sleepTimer = null;
    if (sleepEnd && now() >= sleepEnd) {
      sleepEnd = 0;
      stop();
      state = "slept";
      showState();
    }
    showSleep();
    if (sleepEnd) {
      var left = sleepEnd - now();
      sleepTimer = setTimeout(sleepTick, left - (sleepMinutesLeft() - 1) * 60000);
    }
  }

  function setSleep(minutes) {
    clearTimeout(sleepTimer);
    sleepEnd = minutes > 0 ? now() + minutes * 60000 : 0;
    sleepTick();
  }

  // ---- the listener's own stations, kept apart from the rest of the memory ----

  var MINE_KEY = "sonbrel.mine";
  var MINE_LIMIT = 50;
  var MINE_NAME_LIMIT = 40;
  var MINE_URL_LIMIT = 2000;
  var MINE_REGION = "我的电台";
  var mine = [];

  // Characters, not UTF-16 units: a name of 40 emoji is 40.
  function characters(text) {
    return text.replace(/[\uD800-\uDBFF][\uDC00-\uDFFF]/g, "_").length;
  }

  function absolute(url) {
    var link = document.createElement("a");
    link.href = url;
    return link.href;
  }

  function nameProblem(name) {
    if (!name) return "请填写电台名称";
    var length = characters(name);
    if (length > MINE_NAME_LIMIT) return "名称最多 " + MINE_NAME_LIMIT + " 个字，现在是 " + length + " 个";
    return "";
  }

  function urlProblem(url, others) {
    if (!url) return "请填写播放地址";
    // Browsers drop tabs and line breaks inside a scheme, so "java\tscript:" is caught too.
    var scheme = /^([a-z][a-z0-9+.\-]*):/i.exec(url.replace(/[\u0000-\u0020]/g, ""));
    if (scheme && /^(javascript|vbscript|data)$/i.test(scheme[1])) return "不能使用 " + scheme[1].toLowerCase() + ": 地址，只能用 http:// 或 https://";
    if (!/^https?:\/\/[^\/?#@:\s]/i.test(url)) return "地址须以 http:// 或 https:// 开头，后接主机名";
    if (/[\u0000-\u0020\u007F\s]/.test(url)) return "地址中不能有空格或控制字符";
    if (url.length > MINE_URL_LIMIT) return "地址最长 " + MINE_URL_LIMIT + " 个字符，现在是 " + url.length + " 个";
    var wanted = absolute(url);
    for (var i = 0; i < others.length; i++) {
      for (var j = 0; j < others[i].urls.length; j++) {
        if (absolute(others[i].urls[j]) === wanted) return "这个地址已在列表中：" + others[i].name;
      }
    }
    return "";
  }

  function mineStation(id, name, url) {
    return { id: id, name: name, frequency: "", region: MINE_REGION, urls: [url], nowPlaying: null, mine: true };
  }

  // Each stored entry is checked on its own: a bad one is dropped, the rest kept.
  function loadMine() {
    var text = readStored(MINE_KEY), saved = null;
    if (!text || !window.JSON) return;
    try { saved = JSON.parse(text); } catch (e) { return; }
    if (Object.prototype.toString.call(saved) !== "[object Array]") return;
    for (var i = 0; i < saved.length && mine.length < MINE_LIMIT; i++) {
      var entry = saved[i];
      if (!entry || typeof entry.id !== "string" || !/^my:[0-9a-z]{1,24}$/.test(entry.id) || stationIn(mine, entry.id)) continue;
      if (typeof entry.name !== "string" || nameProblem(entry.name) || entry.name !== trim(entry.name)) continue;
      if (typeof entry.url !== "string" || urlProblem(entry.url, mine)) continue;
      mine.push(mineStation(entry.id, entry.name, entry.url));
    }
  }

  // True when what was written reads back: a full store or an oversized cookie fails quietly.
  function saveMine() {
    var list = [];
    for (var i = 0; i < mine.length; i++) list.push({ id: mine[i].id, name: mine[i].name, url: mine[i].urls[0] });
    var text = JSON.stringify(list);
    writeStored(MINE_KEY, text);
    return readStored(MINE_KEY) === text;
  }

  function stationIn(list, id) {
    for (var i = 0; i < list.length; i++) if (list[i].id === id) return list[i];
    return null;
  }

  function trim(text) { return text.replace(/^[\s\u3000]+|[\s\u3000]+$/g, ""); }

  function newMineId() {
    var id, n = 0;
    do { id = "my:" + now().toString(36) + (n++ ? n.toString(36) : ""); } while (stationById(id));
    return id;
  }

  function showAddErrors(errors) {
    setText(byId("add-name-error"), errors.name || "");
    setText(byId("add-url-error"), errors.url || "");
    setText(byId("add-error"), errors.form || "");
    byId("add-name").setAttribute("aria-invalid", errors.name ? "true" : "false");
    byId("add-url").setAttribute("aria-invalid", errors.url ? "true" : "false");
  }

  function openAddForm() {
    byId("add-name").value = byId("add-url").value = "";
    showAddErrors({ form: mine.length >= MINE_LIMIT ? "最多只能添加 " + MINE_LIMIT + " 个电台，请先删除一些" : "" });
    byId("stations-panel").className = "panel adding";
    byId("add-name").focus();
  }

  function closeAddForm() {
    byId("stations-panel").className = "panel";
    byId("add").focus();
  }

  function addForm_Submit(event) {
    preventDefault(event);
    var name = trim(byId("add-name").value), url = trim(byId("add-url").value);
    var errors = { name: nameProblem(name), url: urlProblem(url, stations) };
    if (!errors.name && !errors.url && mine.length >= MINE_LIMIT) errors.form = "最多只能添加 " + MINE_LIMIT + " 个电台，请先删除一些";
    if (errors.name || errors.url || errors.form) {
      showAddErrors(errors);
      byId(errors.name ? "add-name" : errors.url ? "add-url" : "add-save").focus();
      return;
    }
    var station = mineStation(newMineId(), name, url);
    mine.push(station);
    if (!saveMine()) {
      mine = without(mine, station);
      showAddErrors({ form: "无法保存：浏览器的存储空间不足" });
      return;
    }
    stations.push(station);
    setFilter("");
    byId("stations-panel").className = "panel";
    renderLists();
    focusRow(station);
  }

  function removeMine(station) {
    var kept = mine;
    mine = without(kept, station);
    if (!saveMine()) {
      mine = kept;
      return;
    }
    stations = without(stations, station);
    memory.favourites = without(memory.favourites, station.id);
    memory.history = without(memory.history, station.id);
    if (current === station) {
      stop();
      current = null;
      memory.last = "";
      setText(byId("station-name"), "Harlune网络FM");
      setText(byId("station-info"), "选择一个电台开始收听");
      setText(byId("mini-title"), "Harlune网络FM");
    }
    saveMemory();
    renderLists();
    byId("search").focus();
  }

  function removerFor(station) {
    return rowButton("remove", "删除“" + station.name + "”", "\u2715", function () { removeMine(station); });
  }

  // ---- the filter: hides rows of the station list, never rebuilds it ----

  var filterTerms = [];

  // Lower case and half width, so "fm 97" and "ＦＭ９７" find "FM 97.4".
  function folded(text) {
    return text.replace(/[\uFF01-\uFF5E]/g, function (c) {
      return String.fromCharCode(c.charCodeAt(0) - 0xFEE0);
    }).replace(/\u3000/g, " ").toLowerCase();
  }

  function searchKey(station) {
    if (station.searchKey === undefined) {
      // Spaces dropped inside a field so "fm97" finds "FM 97.4"; \u0001 keeps the fields apart.
      station.searchKey = folded(station.name + "\u0001" + station.frequency + "\u0001" + station.region).replace(/\s+/g, "");
    }
    return station.searchKey;
  }

  function matches(station) {
    var key = searchKey(station);
    for (var i = 0; i < filterTerms.length; i++) if (key.indexOf(filterTerms[i]) < 0) return false;
    return true;
  }

  function shownStations() {
    if (filterTerms.length === 0) return stations;
    var shown = [];
    for (var i = 0; i < stations.length; i++) if (matches(stations[i])) shown.push(stations[i]);
    return shown;
  }

  function setFilter(text) {
    var trimmed = trim(folded(text));
    if (byId("search").value !== text) byId("search").value = text;
    filterTerms = trimmed ? trimmed.split(/\s+/) : [];
  }

  // The list holds a heading before each region's rows, the rows in the order of `stations`.
  function applyFilter() {
    var list = byId("stations"), rows = list.childNodes, index = 0, heading = null, any = false, noMatch = byId("no-match");
    if (noMatch) list.removeChild(noMatch);
    for (var i = 0; i < rows.length; i++) {
      if (rows[i].className === "region") {
        heading = rows[i];
        heading.style.display = "none";
      } else if (rows[i].className.indexOf("station") === 0) {
        var shown = filterTerms.length === 0 || matches(stations[index]);
        index++;
        rows[i].style.display = shown ? "" : "none";
        if (shown && heading) heading.style.display = "";
        any = any || shown;
      }
    }
    if (!any && stations.length) {
      noMatch = document.createElement("li");
      noMatch.id = "no-match";
      noMatch.className = "empty";
      setText(noMatch, "没有找到匹配的电台");
      list.appendChild(noMatch);
    }
  }

  function visibleRows() {
    var rows = byId("stations").childNodes, found = [];
    for (var i = 0; i < rows.length; i++) {
      if (rows[i].className.indexOf("station") === 0 && rows[i].style.display !== "none") found.push(rows[i]);
    }
    return found;
  }

  function focusRow(station) {
    var rows = byId("stations").childNodes, index = 0;
    for (var i = 0; i < rows.length; i++) {
      if (rows[i].className.indexOf("station") !== 0) continue;
      if (stations[index++] === station) {
        rows[i].focus();
        return;
      }
    }
  }

  function search_KeyDown(event) {
    var rows = visibleRows();
    switch (event.keyCode) {
      case 27:
        if (byId("search").value) setFilter(""); else byId("search").blur();
        applyFilter();
        break;
      case 40: if (rows.length) rows[0].focus(); break;
      case 13: if (rows.length) rows[0].click(); break;
      default: return;
    }
    preventDefault(event);
  }

  // Up and down walk the rows the filter left; up from the first goes back to the box.
  function stations_KeyDown(event) {
    var target = event.target || event.srcElement;
    if (!target || target.parentNode !== byId("stations") || target.className.indexOf("station") !== 0) return;
    var rows = visibleRows(), at = -1;
    for (var i = 0; i < rows.length; i++) if (rows[i] === target) at = i;
    switch (event.keyCode) {
      case 27:
        if (!filterTerms.length) return;
        setFilter("");
        applyFilter();
        byId("search").focus();
        break;
      case 38: if (at > 0) rows[at - 1].focus(); else byId("search").focus(); break;
      case 40: if (at + 1 < rows.length) rows[at + 1].focus(); break;
      default: return;
    }
    stopPropagation(event);
    preventDefault(event);
  }

  function wireListenerTools() {
    on(byId("sleep"), "change", function () { setSleep(parseInt(byId("sleep").value, 10) || 0); });
    on(byId("add"), "click", openAddForm);
    on(byId("add-cancel"), "click", closeAddForm);
    on(byId("add-form"), "submit", addForm_Submit);
    on(byId("add-form"), "keydown", function (event) {
      if (event.keyCode !== 27) return;
      preventDefault(event);
      closeAddForm();
    });
    on(byId("search"), "input", function () {
      setFilter(byId("search").value);
      applyFilter();
    });
    on(byId("search"), "keydown", search_KeyDown);
    on(byId("stations"), "keydown", stations_KeyDown);
  }

  // ---- wiring ----

  on(byId("play"), "click", function () {
    if (!isActive()) play(current || stations[0]);
  });
  on(byId("stop"), "click", stop);
  on(byId("prev"), "click", function () { step(-1); });
  on(byId("next"), "click", function () { step(1); });
  on(byId("mini-toggle"), "click", playOrStop);
  on(byId("quieter"), "click", function () { setVolume(memory.volume - 0.1); });
  on(byId("louder"), "click", function () { setVolume(memory.volume + 0.1); });
  on(byId("mute"), "click", toggleMute);
  on(byId("volume-bar"), "click", function (event) {
    var bar = byId("volume-bar").getBoundingClientRect();
    setVolume((event.clientX - bar.left) / VOLUME_BAR_WIDTH);
  });
  on(byId("volume-bar"), "onwheel" in document ? "wheel" : "mousewheel", onWheel);
  on(byId("clear"), "click", function () {
    memory.history = [];
    saveMemory();
    renderLists();
  });
  on(byId("autoplay"), "click", function () {
    memory.autoplay = byId("autoplay").checked;
    saveMemory();
  });
  on(document, "keydown", onKey);
  on(document, "keyup", onKeyUp);
  if (canPlay) {
    on(audio, "playing", onPlaying);
    on(audio, "timeupdate", onProgress);
    on(audio, "waiting", onWaiting);
    on(audio, "ended", function () { drop("电台连接已断开"); });
    on(audio, "error", onError);
  }

  wireListenerTools();
  loadMemory();
  loadMine();
  byId("autoplay").checked = memory.autoplay;
  applyVolume();
  renderLists();
  showState();
  loadStations();
})();
