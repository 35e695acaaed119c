// The page's lesson tools, in its panel (web/shell.html): the named sites, the address that
// reopens the page as it is ("Copier le lien", and "Recommencer" once the program has ended,
// web/layout.js), and the "Mesures" panel: the plane's measured turn against the prediction,
// plotted and read out, and the samples as the desktop's CSV file. The program gives them
// (web/lesson.cpp); with the panel closed a sample costs only its keeping.
var LibraryLesson = {
  $LESSON__deps: ['web_address', 'web_site', 'web_option', 'web_csv_header'],
  $LESSON: {
    rows: [],       // every sample's CSV row, from the start
    points: [],     // [turns, measured, predicted] since the latest release
    releases: -1,
    // The page's address with the program's present state, its language included, as its query.
    address: function() { return location.href.replace(/[?#].*$/, '') + '?' + UTF8ToString(_web_address()); },
    start: function() {
      var place = document.getElementById('place'), panel = document.getElementById('measures');
      window.foucaultAddress = LESSON.address;  // for the language picker (web/start.js)
      for (var i = 0, site; (site = UTF8ToString(_web_site(i))); ++i) {
        var option = place.appendChild(document.createElement('option'));
        option.value = site.split('\t')[0];
        option.textContent = site.split('\t')[1];
        option.translate = false;
      }
      place.addEventListener('change', function() { if (place.value) ccall('web_option', null, ['string'], ['--place=' + place.value]); });
      // The link in a field, chosen, for a browser that keeps the clipboard to itself.
      document.getElementById('share').addEventListener('click', function() {
        var link = document.getElementById('link');
        link.value = LESSON.address();
        link.hidden = false;
        link.focus();
        link.select();
        if (navigator.clipboard) navigator.clipboard.writeText(link.value).catch(function() {});
      });
      document.getElementById('measure').addEventListener('click', function(e) {
        panel.hidden = !panel.hidden;
        e.currentTarget.setAttribute('aria-expanded', !panel.hidden);
        LESSON.draw();
      });
      document.getElementById('csv').addEventListener('click', function() {
        var save = document.createElement('a');
        save.href = URL.createObjectURL(new Blob([UTF8ToString(_web_csv_header())].concat(LESSON.rows), {type: 'text/csv'}));
        save.download = 'foucault.csv';
        save.click();
      });
    },
    // The plot: the turns of the Earth across, the plane's angle up, both from 0; the readout
    // below it is its text for screen readers too.
    draw: function() {
      var plot = document.getElementById('plot'), points = LESSON.points, last = points[points.length - 1];
      if (document.getElementById('measures').hidden || !last) return;
      var width = Math.max(0.5, Math.ceil(last[0] * 2) / 2), low = 0, high = 0;
      points.forEach(function(p) { low = Math.min(low, p[1], p[2]); high = Math.max(high, p[1], p[2]); });
      if (high - low < 10) high = low + 10;
      var x = function(turns) { return (50 + 340 * turns / width).toFixed(1); };
      var y = function(angle) { return (140 - 130 * (angle - low) / (high - low)).toFixed(1); };
      var line = function(k) { return points.map(function(p, i) { return (i ? 'L' : 'M') + x(p[0]) + ' ' + y(p[k]); }).join(''); };
      // Both from the release, where nothing has turned yet.
      plot.querySelector('path.measured').setAttribute('d', 'M' + x(0) + ' ' + y(0) + line(1).replace(/^M/, 'L'));
      plot.querySelector('path.predicted').setAttribute('d', 'M' + x(0) + ' ' + y(0) + line(2).replace(/^M/, 'L'));
      // Numbers as the page's language writes them: "0,50" in French.
      var format = function(value, digits) {
        return new Intl.NumberFormat(document.documentElement.lang, {minimumFractionDigits: digits, maximumFractionDigits: digits}).format(value);
      };
      var ticks = plot.querySelectorAll('g text');
      ticks[1].textContent = format(width, 1), ticks[2].textContent = format(low, 0), ticks[3].textContent = format(high, 0);
      var readout = document.getElementById('readout'), numbers = [format(last[0], 2), format(last[1], 1), format(last[2], 1)];
      readout.textContent = readout.dataset.readout.replace(/%(\d)/g, function(_, n) { return numbers[n - 1]; });
    },
  },

  // A sample of the plane's turn, from the program: its CSV row, the count of releases (a new one
  // starts the plot afresh), the Earth's turns and the measured and predicted angles.
  web_sample: function(row, releases, turns, angle, predicted) {
    LESSON.rows.push(UTF8ToString(row));
    if (releases != LESSON.releases) LESSON.points = [], LESSON.releases = releases;
    LESSON.points.push([turns, angle, predicted]);
    LESSON.draw();
  },
};

autoAddDeps(LibraryLesson, '$LESSON');
mergeInto(LibraryManager.library, LibraryLesson);
