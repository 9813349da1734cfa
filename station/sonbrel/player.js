// The station player: plain ES5 and DOM level 2 with attachEvent fallbacks, so it runs in the
// system browser control as well as in current browsers.
(function () {
  "use strict";

  var VOLUME_BAR_WIDTH = 70;  // as #volume-bar in player.css
  var audio = document.getElementById("audio");
  var canPlay = !!(audio && audio.canPlayType && audio.canPlayType("audio/mpeg"));
  var current = -1;
  var volume = 0.8;
  var muted = false;
  var playlist = [];

  function byId(id) { return document.getElementById(id); }

  function on(element, type, handler) {
    if (element.addEventListener) {
      element.addEventListener(type, handler, false);
    } else {
      element.attachEvent("on" + type, function () { handler(window.event); });
    }
  }

  function setText(element, text) {
    while (element.firstChild) element.removeChild(element.firstChild);
    element.appendChild(document.createTextNode(text));
  }

  function isPlaying() { return canPlay && current >= 0 && !audio.paused; }

  function showStatus(text) {
    setText(byId("status"), text);
    byId("mini-toggle").innerHTML = isPlaying() ? "&#9632;" : "&#9654;";
  }

  function showStation() {
    var station = STATIONS[current];
    setText(byId("station-name"), station.name + "  " + station.frequency);
    setText(byId("station-info"), "正在播放：" + station.city + " · " + station.name);
    setText(byId("mini-title"), station.frequency + " " + station.name);
    renderStations();
  }

  function renderList(list, items, currentIndex, emptyText, choose) {
    while (list.firstChild) list.removeChild(list.firstChild);
    if (items.length === 0) {
      var empty = document.createElement("li");
      empty.className = "empty";
      setText(empty, emptyText);
      list.appendChild(empty);
      return;
    }
    for (var i = 0; i < items.length; i++) {
      var station = STATIONS[items[i]];
      var item = document.createElement("li");
      if (items[i] === currentIndex) item.className = "current";
      var frequency = document.createElement("span");
      frequency.className = "frequency";
      setText(frequency, station.frequency);
      item.appendChild(frequency);
      item.appendChild(document.createTextNode(station.name));
      on(item, "click", choose(items[i]));
      list.appendChild(item);
    }
  }

  function chooser(index) { return function () { play(index); }; }

  function renderStations() {
    var all = [];
    for (var i = 0; i < STATIONS.length; i++) all.push(i);
    renderList(byId("stations"), all, current, "没有电台", chooser);
    renderList(byId("playlist"), playlist, current, "播放过的电台会出现在这里", chooser);
  }

  function remember(index) {
    for (var i = 0; i < playlist.length; i++) {
      if (playlist[i] === index) {
        playlist.splice(i, 1);
        break;
      }
    }
    playlist.unshift(index);
  }

  function play(index) {
    if (index < 0 || index >= STATIONS.length) return;
    var changed = index !== current;
    current = index;
    remember(index);
    showStation();
    if (!canPlay) {
      showStatus("无法播放：浏览器不支持MP3");
      return;
    }
    if (changed) audio.src = STATIONS[index].stream;
    audio.loop = true;
    applyVolume();
    audio.play();
    showStatus("缓冲中…");
  }

  function stop() {
    if (canPlay && current >= 0) {
      audio.pause();
      try { audio.currentTime = 0; } catch (e) { /* not seekable before it has loaded */ }
    }
    showStatus("已停止");
  }

  function step(delta) {
    var count = STATIONS.length;
    play(current < 0 ? 0 : (current + delta + count) % count);
  }

  function applyVolume() {
    byId("volume-level").style.width = Math.round(volume * VOLUME_BAR_WIDTH) + "px";
    setText(byId("mute"), muted ? "取消" : "静音");
    if (canPlay) {
      audio.volume = volume;
      audio.muted = muted;
    }
  }

  function changeVolume(delta) {
    volume = Math.max(0, Math.min(1, Math.round((volume + delta) * 10) / 10));
    muted = false;
    applyVolume();
  }

  on(byId("play"), "click", function () { play(current < 0 ? 0 : current); });
  on(byId("stop"), "click", stop);
  on(byId("prev"), "click", function () { step(-1); });
  on(byId("next"), "click", function () { step(1); });
  on(byId("mini-toggle"), "click", function () {
    if (isPlaying()) stop(); else play(current < 0 ? 0 : current);
  });
  on(byId("quieter"), "click", function () { changeVolume(-0.1); });
  on(byId("louder"), "click", function () { changeVolume(0.1); });
  on(byId("mute"), "click", function () {
    muted = !muted;
    applyVolume();
  });
  on(byId("volume-bar"), "click", function (event) {
    var bar = byId("volume-bar").getBoundingClientRect();
    volume = Math.max(0, Math.min(1, (event.clientX - bar.left) / VOLUME_BAR_WIDTH));
    muted = false;
    applyVolume();
  });
  on(byId("clear"), "click", function () {
    playlist = [];
    renderStations();
  });
  if (canPlay) {
    on(audio, "playing", function () { showStatus("播放中"); });
    on(audio, "error", function () { showStatus("电台暂时无法连接"); });
  }

  renderStations();
  applyVolume();
  showStatus(canPlay ? "已停止" : "无法播放：浏览器不支持MP3");
})();
